#include "stephistory.h"

namespace kia {

QString outcomeWord(int outcome) {
    switch (outcome) {
    case OutcomeFail0: return QStringLiteral("FAIL0");
    case OutcomeFail1: return QStringLiteral("FAIL1");
    default: return QStringLiteral("PASS");
    }
}

} // namespace kia
