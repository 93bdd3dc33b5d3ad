#include "displaytext.h"

namespace kia {

QString shortenForDisplay(const QString& text, qsizetype maxLength) {
    if (text.size() <= maxLength)
        return text;
    if (maxLength < 2)
        return QStringLiteral("…").left(maxLength);
    qsizetype tail = (maxLength - 1) / 4;
    qsizetype head = maxLength - 1 - tail;
    // Never cut a surrogate pair in two.
    if (head > 0 && text.at(head - 1).isHighSurrogate())
        --head, ++tail;
    if (tail > 0 && text.at(text.size() - tail).isLowSurrogate())
        --tail;
    return text.left(head) + QStringLiteral("…") + text.right(tail);
}

} // namespace kia
