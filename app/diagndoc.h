#pragma once

#include <QImage>
#include <QString>

namespace kia {

/// The one document of the workstation: the title of the chosen board and
/// the picture of that board in the current picture mode. The frame re-runs
/// OnNewDocument() on the same object whenever the picture mode changes.
/// Owned by the main frame; UI thread.
class CDiagnDoc {
public:
    /// Bitmap id of the picture of (board type, picture mode); 0 when none.
    static int pictureId(int boardType, int pictureMode);
    /// Folder the board pictures are loaded from (with trailing '/'); the
    /// program's resources unless a test points elsewhere.
    void setPictureFolder(const QString& folder) { m_folder = folder; }

    /// Sets the title (prefix + designation) and loads the picture. A picture
    /// that cannot be loaded leaves the document without one, silently.
    bool OnNewDocument(int boardType, int pictureMode);

    QString title() const { return m_title; }
    const QImage& picture() const { return m_picture; }
    bool hasPicture() const { return !m_picture.isNull(); }

private:
    QString m_folder = QStringLiteral(":/bitmaps/");
    QString m_title;
    QImage m_picture;
};

} // namespace kia
