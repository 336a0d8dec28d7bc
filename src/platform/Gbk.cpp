#include "Gbk.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace tx {

namespace {

// One conversion through iconv; GB18030 is a superset of GBK with the same bytes for
// every character GBK has, so it encodes the characters GBK lacks in their GB18030 form.
QByteArray convert(const char* to, const char* from, const QByteArray& in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    QByteArray out(in.size() * 2 + 8, Qt::Uninitialized);
    char* inPtr = const_cast<char*>(in.constData());
    size_t inLeft = static_cast<size_t>(in.size());
    size_t done = 0;
    while (inLeft > 0) {
        char* outPtr = out.data() + done;
        size_t outLeft = static_cast<size_t>(out.size()) - done;
        const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        done = static_cast<size_t>(outPtr - out.data());
        if (r != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
        } else {
            // An invalid or incomplete sequence: skip one byte and mark it.
            ++inPtr;
            --inLeft;
            out.resize(qMax<qsizetype>(out.size(), qsizetype(done) + 4));
            out[qsizetype(done++)] = '?';
        }
    }
    iconv_close(cd);
    out.resize(qsizetype(done));
    return out;
}

} // namespace

QByteArray toGbk(const QString& text) {
    return convert("GB18030", "UTF-8", text.toUtf8());
}

QString fromGbk(const QByteArray& bytes) {
    return QString::fromUtf8(convert("UTF-8", "GB18030", bytes));
}

int gbkByteLength(const QString& text) {
    return int(toGbk(text).size());
}

} // namespace tx
