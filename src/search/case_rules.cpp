#include "search/case_rules.h"

namespace case_rules {

QString foldAsciiOnly(QStringView text)
{
    QString out = text.toString();
    for (QChar& c : out) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return out;
}

bool containsAsciiOnly(QStringView haystack, QStringView needle)
{
    return foldAsciiOnly(haystack).contains(foldAsciiOnly(needle));
}

bool equalsAsciiOnly(QStringView a, QStringView b)
{
    return a.size() == b.size() && foldAsciiOnly(a) == foldAsciiOnly(b);
}

QString foldAllLetters(QStringView text)
{
    return text.toString().toLower();
}

bool containsAllLetters(QStringView haystack, QStringView needle)
{
    return haystack.contains(needle, Qt::CaseInsensitive);
}

bool equalsAllLetters(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace case_rules
