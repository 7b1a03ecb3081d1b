// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The three picture pages (photograph, area plan, unit plan): one class, built
// once per page. Each holds two pictures: the source picture as loaded or
// pasted, never resized (it is what is saved, copied and printed), and the
// shown picture, the source redrawn at the size the zoom steps reached.
#include <QCheckBox>
#include <QImage>
#include <QScrollArea>
#include <QToolButton>
#include <QWidget>

namespace brevan::ui {

// Draws the source picture at the shown size, centred and clipped at the
// area's edges when it is larger, or stretched over the whole area. It draws
// straight from the source rather than from a resized copy, so a picture
// zoomed far in costs no more memory than the part on screen.
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget *parent = nullptr);
    void setPicture(const QImage &source, QSize shownSize);
    void setStretched(bool stretched);
    bool isStretched() const { return m_stretched; }
    // Where the picture lands inside the view (empty when nothing is drawn).
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_source;
    QSize m_shown;
    bool m_stretched = false;
};

class PicturePage : public QWidget {
    Q_OBJECT
public:
    // Unscoped so that PicturePage::Photo reads naturally where pages are built.
    enum Kind { Photo, AreaPlan, UnitPlan };

    explicit PicturePage(Kind kind, QWidget *parent = nullptr);

    Kind kind() const { return m_kind; }
    // "Illustrazione fotografica", "Planimetria di zona", "Planimetria dell'immobile".
    static QString caption(Kind kind);
    // Tells the three pages' controls apart: "Foto", "PlanimZona", "Planim",
    // as in the names of the picture files saved with an appraisal.
    static QString nameSuffix(Kind kind);

    // Toolbar, in screen order. Object names are the base name followed by the
    // page's suffix, e.g. SpeedButtonOpenImageFoto.
    QToolButton *loadButton;    // SpeedButtonOpenImage…
    QToolButton *saveButton;    // SpeedButtonSaveImage…
    QToolButton *deleteButton;  // SpeedButtonDeleteImage…
    QToolButton *cutButton;     // SpeedButtonCutImage…
    QToolButton *copyButton;    // SpeedButtonCopyImage…
    QToolButton *pasteButton;   // SpeedButtonPasteImage…
    QToolButton *zoomInButton;  // SpeedButtonZoomInImage…, property "zoomFactor" 110
    QToolButton *zoomOutButton; // SpeedButtonZoomOutImage…, property "zoomFactor" 90
    QCheckBox *stretchCheck;    // CheckBoxStretchImage…, "Adatta immagine"

    QScrollArea *pictureArea;   // ScrollBoxImage…
    PictureView *pictureView;   // Image…

    bool hasPicture() const { return !m_source.isNull(); }
    const QImage &sourceImage() const { return m_source; }
    // The size the picture is shown at when not stretched; a side that zoomed
    // down to 0 stays 0 here even though no bitmap can have it.
    QSize shownSize() const { return m_shown; }
    // The shown picture as a bitmap: the source drawn stretched onto the shown
    // size. Null without a picture, with a side of 0, or when the bitmap
    // would be too large to hold in memory.
    QImage shownImage() const;

    // A picture arrives (file, clipboard, saved appraisal): it becomes both
    // the source and the shown picture. A null image empties the page.
    void setPicture(const QImage &picture);
    // A zoom step's result; the source picture stays as it is. Ignored while
    // the page has no picture.
    void setShownSize(QSize size);
    void clearPicture();

    // The controls that only make sense with a picture, enabled and disabled
    // together: save, delete, cut, copy, zoom in, zoom out, "Adatta immagine".
    QList<QWidget *> pictureControls() const;

    // Opening an appraisal: the saved picture becomes the shown and the source
    // picture, the picture controls are enabled and "Adatta immagine" cleared.
    // Throws PictureError (a std::runtime_error) when the file cannot be read;
    // the page then keeps what it had.
    void setPictureFromFile(const QString &path);
    // The same with a picture already read from its file.
    void setOpenedPicture(const QImage &picture);
    // A new appraisal: no picture, the picture controls disabled, "Adatta
    // immagine" cleared. The paste button keeps its state.
    void clearForNewAppraisal();

    // Whether the system clipboard offers a picture to paste.
    static bool clipboardHasPicture();
    // On each repaint of the main window: paste is possible exactly when the
    // clipboard holds a picture.
    void updatePasteAvailability();

public Q_SLOTS:
    // The toolbar's commands; each acts on this page only.
    void SpeedButtonOpenImageClick();
    void SpeedButtonSaveImageClick();
    void SpeedButtonDeleteImageClick();
    void SpeedButtonCutImageClick();
    void SpeedButtonCopyImageClick();
    void SpeedButtonPasteImageClick();
    // factor is the button's "zoomFactor": 110 in, 90 out.
    void SpeedButtonZoomImageClick(int factor);
    // Runs on every change of "Adatta immagine", by the user or the program.
    void CheckBoxStretchImageClick(bool stretched);

private:
    void showPicture();
    // A picture arrived (file, clipboard, saved appraisal).
    void takePicture(const QImage &picture);
    // The picture went (delete, cut, new appraisal).
    void dropPicture();

    Kind m_kind;
    QImage m_source;
    QSize m_shown{0, 0};
};

} // namespace brevan::ui
