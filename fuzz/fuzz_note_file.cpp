// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Any note written to the note's file reads back through QSettings as the very same text, and
// the file is one the start-up check accepts.

#include "FuzzInput.h"

#include "storage/AtomicFile.h"
#include "storage/IniWriter.h"
#include "storage/NoteFile.h"
#include "storage/PrivateFile.h"

#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {
QTemporaryDir *folder = nullptr;
qint64 files = 0;
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    folder = new QTemporaryDir; // lives as long as the process
    return folder->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString note = fuzzText(data, size);
    // A new name each time: QSettings keeps what it read of a file by its name.
    const QString path = folder->filePath(QStringLiteral("note%1.conf").arg(files++));
    const QByteArray bytes = IniWriter::generalSection({{"noteContent", note}});
    if (!AtomicFile(path).write(bytes))
        std::abort();
    // The note file's own reader agrees with QSettings.
    const NoteFile::Parsed parsed = NoteFile::parse(bytes, QStringLiteral("noteContent"));
    if (!parsed.ours || parsed.note != note) {
        std::fprintf(stderr, "the note file's reader does not read back what was written\n");
        std::abort();
    }
    const QString problem = PrivateFile::problemWith(path);
    QVariant read;
    {
        const QSettings settings(path, QSettings::IniFormat);
        read = settings.value(QStringLiteral("noteContent"));
    }
    QFile::remove(path);
    if (!problem.isEmpty() || read.typeId() != QMetaType::QString || read.toString() != note) {
        std::fprintf(stderr, "the note came back as \"%s\" (%s; %s)\n",
                     qPrintable(read.toString().toHtmlEscaped()), read.typeName(),
                     qPrintable(problem));
        std::abort();
    }
    return 0;
}
