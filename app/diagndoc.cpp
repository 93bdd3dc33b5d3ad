#include "diagndoc.h"

#include "core/board.h"

namespace kia {

int CDiagnDoc::pictureId(int boardType, int pictureMode) {
    static constexpr int Ids[5][2] = {{131, 132}, {133, 134}, {240, 241}, {244, 245}, {281, 282}};
    if (boardType < 0 || boardType >= 5)
        return 0;
    return Ids[boardType][pictureMode == 1 ? 1 : 0];
}

bool CDiagnDoc::OnNewDocument(int boardType, int pictureMode) {
    m_title = titlePrefix() + boardDesignation(boardType);
    m_picture = QImage();
    const int id = pictureId(boardType, pictureMode);
    if (id != 0) {
        QImage loaded(m_folder + QString::number(id) + QStringLiteral(".png"));
        if (!loaded.isNull())
            m_picture = loaded.convertToFormat(QImage::Format_RGB32);
    }
    return true;
}

} // namespace kia
