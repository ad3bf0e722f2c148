#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The program's two ways of comparing text without regard to case.
namespace case_rules {

// Only the letters a to z are folded; Czech letters compare exactly.
QString foldAsciiOnly(QStringView text);
bool containsAsciiOnly(QStringView haystack, QStringView needle);
bool equalsAsciiOnly(QStringView a, QStringView b);

// Every letter is folded, the Czech ones included.
QString foldAllLetters(QStringView text);
bool containsAllLetters(QStringView haystack, QStringView needle);
bool equalsAllLetters(QStringView a, QStringView b);

// The same rule on stored Windows-1250 bytes, so that a scan of the day table needs
// no decoding: two bytes fold alike exactly when their letters compare equal above.
// Bytes that are not letters stay as they are.
char foldAllLettersByte(char byte);
bool equalsAllLettersBytes(QByteArrayView a, QByteArrayView b);

} // namespace case_rules
