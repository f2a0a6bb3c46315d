// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "text/NoteEdit.h"

#include <QString>
#include <QStringView>

/// How text handed in from outside (`jotshelf --append`) joins the note: at its end, on a line
/// of its own, as typing it there would. Pure functions.
namespace NoteAppend {

using Edit = NoteEdit;

/// The change that appends \a text to \a note. A line break goes first when the note does not
/// end with one. A note that ends with an empty list item (the marker the list continuation
/// put there, waiting for its text) takes the text into that item; when the text brings a
/// marker of its own, it takes the empty item's place. The list rule then applies to the
/// result as to any change.
Edit appending(QStringView note, QStringView text);

} // namespace NoteAppend
