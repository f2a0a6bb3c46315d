// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

/// Qt's own X11 connection and the small steps every X11 helper of the platform layer takes on it.
namespace QtXcb {

/// Frees an xcb reply or event, which xcb allocates with malloc.
struct FreeReply
{
    void operator()(void *pointer) const { std::free(pointer); }
};
template<typename T>
using Reply = std::unique_ptr<T, FreeReply>;

/// Qt's connection to the X server; null unless Qt runs on xcb.
xcb_connection_t *connection();

/// The atom named \a name, XCB_ATOM_NONE when the server does not answer.
xcb_atom_t internAtom(xcb_connection_t *connection, const char *name);

} // namespace QtXcb
