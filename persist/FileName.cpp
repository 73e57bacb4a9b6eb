#include "FileName.h"

#include <sys/stat.h>

namespace gyrodex {

namespace {

constexpr char16_t kEscapeBase = 0xDC00; // U+DC80..U+DCFF stand for the bytes 0x80..0xFF

// Length of the valid UTF-8 sequence starting at bytes[i] and its code point, or 0.
int Utf8Sequence(QByteArrayView bytes, qsizetype i, char32_t& code) {
    const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byte(i);
    int length = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        const unsigned char next = byte(i + k);
        if ((next & 0xC0u) != 0x80u)
            return 0;
        code = (code << 6) | (next & 0x3Fu);
    }
    // Overlong forms, encoded surrogates and code points past U+10FFFF are not valid UTF-8.
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

bool IsEscapedByte(char16_t c) {
    return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF;
}

} // namespace

QString FileNameFromBytes(QByteArrayView bytes) {
    QString name;
    name.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            name.append(QChar(lead));
            ++i;
            continue;
        }
        char32_t code = 0;
        const int length = Utf8Sequence(bytes, i, code);
        if (length == 0) {
            name.append(QChar(static_cast<char16_t>(kEscapeBase + lead)));
            ++i;
            continue;
        }
        const char32_t units[1] = {code};
        name.append(QString::fromUcs4(units, 1));
        i += length;
    }
    return name;
}

QByteArray FileNameBytes(const QString& name) {
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype start = 0; // first unit of the run of ordinary text not yet converted
    const auto flush = [&](qsizetype end) {
        bytes.append(QStringView(name).mid(start, end - start).toUtf8());
    };
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        // A lone low surrogate of the escape range; a high surrogate before it would make it
        // half of an ordinary character.
        const bool paired = i > 0 && QChar::isHighSurrogate(name[i - 1].unicode());
        if (IsEscapedByte(c) && !paired) {
            flush(i);
            bytes.append(static_cast<char>(c - kEscapeBase));
            start = i + 1;
        }
    }
    flush(name.size());
    return bytes;
}

bool FileExists(const QString& name) {
    struct stat st {};
    return !name.isEmpty() && ::stat(FileNameBytes(name).constData(), &st) == 0;
}

QString FileNameText(const QString& name) {
    static const QLatin1String kPrefix("file://");
    const QByteArray bytes = FileNameBytes(name);
    const bool plain = QString::fromUtf8(bytes) == name && !name.startsWith(kPrefix);
    if (plain)
        return name;
    return kPrefix + QString::fromLatin1(bytes.toPercentEncoding("/"));
}

QString FileNameFromText(const QString& text) {
    static const QLatin1String kPrefix("file://");
    if (!text.startsWith(kPrefix))
        return text;
    return FileNameFromBytes(QByteArray::fromPercentEncoding(text.mid(kPrefix.size()).toUtf8()));
}

} // namespace gyrodex
