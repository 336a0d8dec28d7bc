#include "platform/RtfWriter.h"

#include <QHash>
#include <QSaveFile>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace tx {

namespace {

// Strict GBK: a character outside it is refused rather than given another form.
class GbkEncoder {
public:
    GbkEncoder() : cd_(iconv_open("GBK", "UTF-32LE")) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv cannot convert to GBK");
    }
    ~GbkEncoder() { iconv_close(cd_); }
    GbkEncoder(const GbkEncoder&) = delete;
    GbkEncoder& operator=(const GbkEncoder&) = delete;

    // The character's GBK bytes; empty when GBK has no such character.
    QByteArray encode(char32_t c) {
        char in[4] = {char(c & 0xff), char((c >> 8) & 0xff), char((c >> 16) & 0xff),
                      char((c >> 24) & 0xff)};
        char out[8];
        char* inPtr = in;
        size_t inLeft = sizeof in;
        char* outPtr = out;
        size_t outLeft = sizeof out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1))
            return {};
        return QByteArray(out, int(outPtr - out));
    }

private:
    iconv_t cd_;
};

void appendHexBytes(QByteArray& out, const QByteArray& bytes) {
    static const char digits[] = "0123456789abcdef";
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        out += "\\'";
        out += digits[u >> 4];
        out += digits[u & 0xf];
    }
}

void appendUnicode(QByteArray& out, char32_t c) {
    // \uN takes a signed 16-bit number; characters beyond the BMP go as their surrogates.
    const auto unit = [&out](char16_t u) {
        out += "\\u";
        out += QByteArray::number(static_cast<qint16>(u));
        out += '?';
    };
    if (c > 0xffff) {
        unit(char16_t(0xd800 + ((c - 0x10000) >> 10)));
        unit(char16_t(0xdc00 + ((c - 0x10000) & 0x3ff)));
    } else {
        unit(char16_t(c));
    }
}

} // namespace

QByteArray rtfDocument(const QString& text, int halfPoints) {
    GbkEncoder gbk;
    QByteArray out;
    out.reserve(text.size() * 4 + 256);
    out += "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052"
           "{\\fonttbl{\\f0\\fnil\\fcharset134 ";
    appendHexBytes(out, gbk.encode(U'宋') + gbk.encode(U'体'));
    out += ";}}\n\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs";
    out += QByteArray::number(halfPoints);
    out += ' ';
    QHash<char32_t, QByteArray> encoded;
    const QList<uint> chars = text.toUcs4();
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const char32_t c = chars[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < chars.size() && chars[i + 1] == u'\n')
                ++i;
            out += "\\par\n";
        } else if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += char(c);
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c >= 0x20 && c < 0x7f) {
            out += char(c);
        } else if (c < 0x20 || c == 0x7f) {
            continue; // other control characters have no place in running text
        } else {
            // Long texts repeat few characters: each is looked up in GBK once.
            auto known = encoded.constFind(c);
            if (known == encoded.constEnd())
                known = encoded.insert(c, gbk.encode(c));
            if (known->isEmpty())
                appendUnicode(out, c);
            else
                appendHexBytes(out, *known);
        }
    }
    out += "}\n";
    return out;
}

void writeRtfFile(const QString& path, const QString& text, int halfPoints) {
    const QByteArray bytes = rtfDocument(text, halfPoints);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error(
            QStringLiteral("无法写入文件 \"%1\": %2").arg(path, file.errorString()).toStdString());
}

} // namespace tx
