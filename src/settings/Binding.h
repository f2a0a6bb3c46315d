#pragma once

#include <functional>

/// A two-way binding to a value held elsewhere: how to read it and how to write it. Row views
/// edit a setting through one without knowing the model.
template<typename T>
struct Binding
{
    std::function<T()> get;
    std::function<void(const T &)> set;
};

/// Binds to the property of \a object read by \a getter and written by \a setter.
template<typename T, typename Object, typename Getter, typename Setter>
Binding<T> bindProperty(Object &object, Getter getter, Setter setter)
{
    return {[&object, getter] { return T((object.*getter)()); },
            [&object, setter](const T &value) { (object.*setter)(value); }};
}
