#include "testprogram.h"

namespace sim {

QByteArray testProgramImage() {
    QByteArray image(1024, '\0');
    for (int i = 0; i < image.size(); ++i) {
        image[i] = i < static_cast<int>(TestProgramSignature.size())
                       ? static_cast<char>(TestProgramSignature[static_cast<size_t>(i)])
                       : static_cast<char>(i * 7 + 3);
    }
    return image;
}

} // namespace sim
