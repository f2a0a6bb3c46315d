// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/IniWriter.h"

#include <QLocale>
#include <QMap>
#include <QStringDecoder>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <optional>

namespace IniWriter {

namespace {
bool isHexDigit(char16_t u)
{
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

// Whether the unit at i is written as an escape (the encoder and the size count share this
// rule); paired tells whether it starts a surrogate pair, which is written as it is.
bool isEscaped(const char16_t *units, qsizetype i, qsizetype size, bool afterHexEscape,
               bool &paired)
{
    const char16_t u = units[i];
    paired = QChar::isHighSurrogate(u) && i + 1 < size && QChar::isLowSurrogate(units[i + 1]);
    // A \x escape goes on for as long as hex digits follow: a digit right after one is escaped
    // too.
    return u < 0x20 || u == u'"' || u == u'\\' || u == 0x7F || u == 0xFEFF
        || (QChar::isSurrogate(u) && !paired) || (afterHexEscape && isHexDigit(u));
}

void appendHexEscape(QByteArray &out, char16_t u)
{
    out += "\\x";
    out += QByteArray::number(u, 16);
}
} // namespace

void beginText(QByteArray &out, QStringView text)
{
    out += '"';
    if (text.startsWith(u'@'))
        out += '@'; // QSettings reads a leading '@' as the start of a typed value
}

qsizetype appendText(QByteArray &out, QStringView text, qsizetype from, qsizetype to,
                     bool &afterHexEscape)
{
    const char16_t *units = text.utf16();
    const qsizetype size = text.size();
    from = std::clamp<qsizetype>(from, 0, size);
    to = std::clamp<qsizetype>(to, from, size);
    // A surrogate pair is encoded whole, by the part that holds its first half.
    if (to > from && to < size && QChar::isHighSurrogate(units[to - 1])
        && QChar::isLowSurrogate(units[to]))
        ++to;
    qsizetype plainStart = from; // characters written as they are, converted in one go
    auto flushPlain = [&](qsizetype end) {
        if (end > plainStart)
            out += text.sliced(plainStart, end - plainStart).toUtf8();
    };
    for (qsizetype i = from; i < to; ++i) {
        const char16_t u = units[i];
        bool paired = false;
        if (!isEscaped(units, i, size, afterHexEscape, paired)) {
            afterHexEscape = false;
            if (paired)
                ++i;
            continue;
        }
        flushPlain(i);
        plainStart = i + 1;
        switch (afterHexEscape ? char16_t(0) : u) {
        case u'\n':
            out += "\\n";
            break;
        case u'\r':
            out += "\\r";
            break;
        case u'\t':
            out += "\\t";
            break;
        case u'"':
            out += "\\\"";
            break;
        case u'\\':
            out += "\\\\";
            break;
        default:
            // Other control characters, unpaired surrogates (no UTF-8 form), a byte order mark
            // (would be dropped) and a hex digit after such an escape.
            appendHexEscape(out, u);
            afterHexEscape = true;
            continue;
        }
        afterHexEscape = false;
    }
    flushPlain(to);
    return to;
}

void endText(QByteArray &out)
{
    out += '"';
}

QByteArray encodeText(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() + text.size() / 8 + 4);
    beginText(out, text);
    bool afterHexEscape = false;
    appendText(out, text, 0, text.size(), afterHexEscape);
    endText(out);
    return out;
}

qsizetype encodedTextSize(QStringView text)
{
    const char16_t *units = text.utf16();
    const qsizetype size = text.size();
    qsizetype bytes = text.startsWith(u'@') ? 3 : 2;
    bool afterHexEscape = false;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t u = units[i];
        bool paired = false;
        if (!isEscaped(units, i, size, afterHexEscape, paired)) {
            afterHexEscape = false;
            bytes += u < 0x80 ? 1 : u < 0x800 ? 2 : paired ? 4 : 3;
            i += paired ? 1 : 0;
        } else if (!afterHexEscape
                   && (u == u'\n' || u == u'\r' || u == u'\t' || u == u'"' || u == u'\\')) {
            bytes += 2;
        } else {
            bytes += 2 + (u < 0x10 ? 1 : u < 0x100 ? 2 : u < 0x1000 ? 3 : 4);
            afterHexEscape = true;
        }
    }
    return bytes;
}

namespace {
// As QSettings writes keys: '/' within a section becomes '\\', characters other than letters,
// digits, '-', '_' and '.' become %XX or %UXXXX.
QByteArray encodeKey(QStringView key)
{
    QByteArray out;
    for (const QChar c : key) {
        const char16_t u = c.unicode();
        if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9')
            || u == u'-' || u == u'_' || u == u'.') {
            out += char(u);
        } else if (u == u'/') {
            out += '\\';
        } else if (u < 0x100) {
            out += '%' + QByteArray::number(u, 16).toUpper().rightJustified(2, '0');
        } else {
            out += "%U" + QByteArray::number(u, 16).toUpper().rightJustified(4, '0');
        }
    }
    return out;
}

std::optional<QByteArray> encodeValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return encodeText(value.toString());
    case QMetaType::Bool:
        return value.toBool() ? QByteArray("true") : QByteArray("false");
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return value.toString().toLatin1();
    case QMetaType::QStringList: {
        const QStringList list = value.toStringList();
        if (list.size() < 2)
            return std::nullopt; // QSettings would read one text back, or nothing
        QByteArray out;
        for (const QString &item : list)
            out += (out.isEmpty() ? "" : ", ") + encodeText(item);
        return out;
    }
    default:
        if (value.canConvert<QString>())
            return encodeText(value.toString());
        return std::nullopt;
    }
}
} // namespace

QByteArray generalSection(const QList<QPair<QString, QString>> &entries)
{
    QByteArray out("[General]\n");
    for (const auto &[key, value] : entries)
        out += encodeKey(key) + '=' + encodeText(value) + '\n';
    return out;
}

QByteArray encodeFile(const QVariantMap &values)
{
    QMap<QString, QList<std::pair<QString, QByteArray>>> sections; // "" is [General]
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const std::optional<QByteArray> value = encodeValue(it.value());
        if (!value)
            continue;
        const qsizetype slash = it.key().indexOf(u'/');
        const QString section = slash < 0 ? QString() : it.key().left(slash);
        sections[section].append({it.key().mid(slash + 1), *value});
    }
    QByteArray out;
    for (auto it = sections.cbegin(); it != sections.cend(); ++it) {
        if (!out.isEmpty())
            out += '\n';
        out += '[' + (it.key().isEmpty() ? QByteArray("General") : encodeKey(it.key())) + "]\n";
        for (const auto &[key, value] : it.value())
            out += encodeKey(key) + '=' + value + '\n';
    }
    return out;
}

std::optional<QString> decodeText(QByteArrayView quoted)
{
    if (quoted.size() < 2 || !quoted.startsWith('"') || !quoted.endsWith('"'))
        return std::nullopt;
    QByteArrayView body = quoted.sliced(1, quoted.size() - 2);
    if (body.startsWith('@')) {
        if (!body.startsWith("@@"))
            return std::nullopt; // QSettings would read a typed value
        body = body.sliced(1);
    }
    // Decoded whole first (never more characters than bytes, with room to type into), then the
    // escapes, all ASCII, are resolved in place.
    QString out(body.size() + body.size() / 8 + 64, Qt::Uninitialized);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    char16_t *const begin = reinterpret_cast<char16_t *>(out.data());
    const char16_t *const end
        = reinterpret_cast<const char16_t *>(decoder.appendToBuffer(out.data(), body));
    if (decoder.hasError())
        return std::nullopt;
    char16_t *to = begin;
    const char16_t *from = begin;
    while (from < end) {
        const char16_t c = *from;
        // A byte order mark is written escaped: QSettings drops one it finds as it is.
        if (c >= 0x20 && c != u'"' && c != u'\\' && c != 0x7F && c != 0xFEFF) {
            *to++ = c;
            ++from;
            continue;
        }
        if (c != u'\\' || from + 1 >= end)
            return std::nullopt; // a bare quote, control character or backslash
        const char16_t escaped = from[1];
        from += 2;
        switch (escaped) {
        case u'n':
            *to++ = u'\n';
            break;
        case u'r':
            *to++ = u'\r';
            break;
        case u't':
            *to++ = u'\t';
            break;
        case u'"':
            *to++ = u'"';
            break;
        case u'\\':
            *to++ = u'\\';
            break;
        case u'x': {
            // As QSettings reads it: every hex digit that follows; at most four make a character.
            uint value = 0;
            int digits = 0;
            for (; from < end && isHexDigit(*from); ++from, ++digits)
                value
                    = value * 16 + uint(*from <= u'9' ? *from - u'0' : (*from | 0x20) - u'a' + 10);
            if (digits == 0 || digits > 4)
                return std::nullopt;
            *to++ = char16_t(value);
            break;
        }
        default:
            return std::nullopt; // an escape this writer never uses
        }
    }
    out.truncate(to - begin); // keeps the room
    return out;
}

} // namespace IniWriter
