#include "LatinCase.h"

namespace tx {

namespace {

char16_t foldLatin(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}

} // namespace

bool equalsIgnoringLatinCase(QStringView a, QStringView b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (foldLatin(a[i].unicode()) != foldLatin(b[i].unicode()))
            return false;
    return true;
}

} // namespace tx
