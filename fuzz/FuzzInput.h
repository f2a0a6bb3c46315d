// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

/// Turns a fuzzer's bytes into text. The first byte chooses how the rest is read: as UTF-8
/// (what a paste or a file brings) or as raw UTF-16 code units, lone surrogates included (what
/// a QString can hold).
inline QString fuzzText(const uint8_t *data, size_t size)
{
    if (size == 0)
        return {};
    const auto *bytes = reinterpret_cast<const char *>(data + 1);
    const qsizetype length = qsizetype(size - 1);
    if (data[0] & 1)
        return QString::fromUtf8(bytes, length);
    QString text(length / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < length / 2; ++i)
        text[i] = QChar(char16_t(uint8_t(bytes[2 * i]) | uint8_t(bytes[2 * i + 1]) << 8));
    return text;
}
