// SPDX-License-Identifier: GPL-2.0-or-later
#include "picturepage.h"

#include "pages/messages.h"
#include "pages/pagekit.h"
#include "pages/pictureloader.h"
#include "pages/zoom.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QMimeData>

#include <QFrame>
#include <QHBoxLayout>
#include <QPaintEvent>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <algorithm>

namespace brevan::ui {

namespace {

// Largest shown bitmap handed out by shownImage(): 256 MB of 32-bit pixels.
constexpr qint64 kMaxShownBytes = qint64(256) * 1024 * 1024;

QIcon drawnIcon(void (*draw)(QPainter &))
{
    // The three picture pages show the same tools: each icon is drawn once.
    static QHash<void (*)(QPainter &), QIcon> drawn;
    if (const auto it = drawn.constFind(draw); it != drawn.cend())
        return it.value();
    QIcon &icon = drawn[draw];
    for (qreal ratio : {1.0, 2.0}) {
        QPixmap pm(QSize(16, 16) * ratio);
        pm.setDevicePixelRatio(ratio);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

const QColor kOutline(70, 70, 70);

void drawFolder(QPainter &p)
{
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6, 3.5);
    back.lineTo(7.5, 5);
    back.lineTo(13.5, 5);
    back.lineTo(13.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(235, 190, 80));
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(1.5, 13.5);
    front.lineTo(4, 7.5);
    front.lineTo(15.5, 7.5);
    front.lineTo(13.5, 13.5);
    front.closeSubpath();
    p.setBrush(QColor(250, 215, 110));
    p.drawPath(front);
}

void drawFloppy(QPainter &p)
{
    p.setPen(QPen(QColor(30, 50, 110), 1));
    p.setBrush(QColor(60, 90, 170));
    QPainterPath body;
    body.moveTo(1.5, 1.5);
    body.lineTo(12.5, 1.5);
    body.lineTo(14.5, 3.5);
    body.lineTo(14.5, 14.5);
    body.lineTo(1.5, 14.5);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 1.5, 8, 5));
    p.setBrush(QColor(210, 210, 215));
    p.drawRect(QRectF(3.5, 9.5, 9, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 50, 110));
    p.drawRect(QRectF(8.5, 2.5, 2, 3));
}

void drawDelete(QPainter &p)
{
    p.setPen(QPen(QColor(200, 30, 30), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

void drawScissors(QPainter &p)
{
    p.setPen(QPen(kOutline, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4.5, 1.5), QPointF(10, 10));
    p.drawLine(QPointF(11.5, 1.5), QPointF(6, 10));
    p.setPen(QPen(QColor(200, 30, 30), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.5, 12), 2.3, 2.3);
    p.drawEllipse(QPointF(11.5, 12), 2.3, 2.3);
}

void drawSheet(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QPen(QColor(120, 140, 190), 1));
    for (qreal y = r.top() + 2.5; y < r.bottom() - 1; y += 2)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void drawCopy(QPainter &p)
{
    drawSheet(p, QRectF(1.5, 1.5, 8, 10));
    drawSheet(p, QRectF(6.5, 4.5, 8, 10));
}

void drawPaste(QPainter &p)
{
    p.setPen(QPen(QColor(110, 75, 30), 1));
    p.setBrush(QColor(190, 140, 70));
    p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
    p.setBrush(QColor(200, 200, 205));
    p.setPen(QPen(kOutline, 1));
    p.drawRect(QRectF(4.5, 1.5, 4, 2));
    drawSheet(p, QRectF(6.5, 6.5, 8, 8));
}

void drawMagnifier(QPainter &p, bool plus)
{
    p.setPen(QPen(kOutline, 1.3));
    p.setBrush(QColor(225, 238, 255));
    p.drawEllipse(QPointF(6.5, 6.5), 4.8, 4.8);
    p.setPen(QPen(kOutline, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.2, 10.2), QPointF(14.5, 14.5));
    p.setPen(QPen(QColor(20, 60, 150), 1.5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(4, 6.5), QPointF(9, 6.5));
    if (plus)
        p.drawLine(QPointF(6.5, 4), QPointF(6.5, 9));
}

void drawZoomIn(QPainter &p) { drawMagnifier(p, true); }
void drawZoomOut(QPainter &p) { drawMagnifier(p, false); }

QFrame *separator(QWidget *parent)
{
    auto *f = new QFrame(parent);
    f->setFrameShape(QFrame::VLine);
    f->setFrameShadow(QFrame::Sunken);
    f->setFixedSize(6, 20);
    return f;
}

} // namespace

// --- PictureView ----------------------------------------------------------

PictureView::PictureView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PictureView::setPicture(const QImage &source, QSize shownSize)
{
    m_source = source;
    m_shown = source.isNull() ? QSize(0, 0) : shownSize;
    update();
}

void PictureView::setStretched(bool stretched)
{
    m_stretched = stretched;
    setPicture(m_source, m_shown);
}

QRect PictureView::pictureRect() const
{
    if (m_source.isNull() || m_shown.isEmpty())
        return {};
    if (m_stretched)
        return rect();
    // Centred; the halves truncate toward zero, so a picture larger than the
    // view hangs over both edges by the same amount.
    return {(width() - m_shown.width()) / 2, (height() - m_shown.height()) / 2, m_shown.width(), m_shown.height()};
}

void PictureView::paintEvent(QPaintEvent *event)
{
    const QRect target = pictureRect();
    if (target.isEmpty())
        return;
    QPainter p(this);
    p.setClipRect(event->rect());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(target), m_source, QRectF(m_source.rect()));
}

// --- PicturePage ----------------------------------------------------------

QString PicturePage::caption(Kind kind)
{
    switch (kind) {
    case Kind::Photo: return QStringLiteral("Illustrazione fotografica");
    case Kind::AreaPlan: return QStringLiteral("Planimetria di zona");
    case Kind::UnitPlan: return QStringLiteral("Planimetria dell'immobile");
    }
    return {};
}

QString PicturePage::nameSuffix(Kind kind)
{
    switch (kind) {
    case Kind::Photo: return QStringLiteral("Foto");
    case Kind::AreaPlan: return QStringLiteral("PlanimZona");
    case Kind::UnitPlan: return QStringLiteral("Planim");
    }
    return {};
}

PicturePage::PicturePage(Kind kind, QWidget *parent) : QWidget(parent), m_kind(kind)
{
    const QString suffix = nameSuffix(kind);
    static const char *const kTabSheets[] = {"TabSheet3", "TabSheet4", "TabSheet5"};
    setObjectName(QString::fromLatin1(kTabSheets[static_cast<int>(kind)]));
    setWindowTitle(caption(kind));
    setFont(pageFont());

    auto *toolRow = new QWidget(this);
    toolRow->setObjectName(QStringLiteral("ToolBarImage") + suffix);
    auto *tools = new QHBoxLayout(toolRow);
    tools->setContentsMargins(4, 2, 4, 2);
    tools->setSpacing(1);

    auto button = [&](const char *base, void (*draw)(QPainter &), const QString &hint) {
        QToolButton *b = makeToolButton(QLatin1String(base) + suffix, drawnIcon(draw), hint, toolRow);
        tools->addWidget(b);
        return b;
    };
    loadButton = button("SpeedButtonOpenImage", drawFolder, QStringLiteral("Carica immagine|Carica un'immagine dal disco."));
    saveButton = button("SpeedButtonSaveImage", drawFloppy, QStringLiteral("Salva immagine|Salva l'immagine sul disco."));
    deleteButton = button("SpeedButtonDeleteImage", drawDelete,
                          QStringLiteral("Elimina immagine|Elimina l'immagine dalla finestra."));
    tools->addWidget(separator(toolRow));
    cutButton = button("SpeedButtonCutImage", drawScissors,
                       kind == Kind::UnitPlan
                           ? QStringLiteral("Taglia immagine|Taglia l'immagine e la incolla negli appunti.")
                           : QStringLiteral("Taglia immagine|Taglia l'immagine e la inserisce negli appunti."));
    copyButton = button("SpeedButtonCopyImage", drawCopy,
                        QStringLiteral("Copia immagine|Copia l'immagine e la inserisce negli appunti."));
    pasteButton = button("SpeedButtonPasteImage", drawPaste,
                         QStringLiteral("Incolla immagine|Incolla l'immagine dagli appunti."));
    tools->addWidget(separator(toolRow));
    const QString zoomHint = QStringLiteral("Zoom immagine|Ridimensiona l'immagine del 10%.");
    zoomInButton = button("SpeedButtonZoomInImage", drawZoomIn, zoomHint);
    zoomInButton->setProperty("zoomFactor", kZoomInFactor);
    zoomOutButton = button("SpeedButtonZoomOutImage", drawZoomOut, zoomHint);
    zoomOutButton->setProperty("zoomFactor", kZoomOutFactor);
    tools->addWidget(separator(toolRow));
    stretchCheck = new QCheckBox(QStringLiteral("Adatta immagine"), toolRow);
    stretchCheck->setObjectName(QStringLiteral("CheckBoxStretchImage") + suffix);
    stretchCheck->setFont(pageFont());
    setHint(stretchCheck, QStringLiteral("|Stira e deforma l'immagine adattandola allo spazio disponibile."));
    tools->addSpacing(4);
    tools->addWidget(stretchCheck);
    tools->addStretch(1);

    pictureView = new PictureView;
    pictureView->setObjectName(QStringLiteral("Image") + suffix);
    pictureArea = new QScrollArea(this);
    pictureArea->setObjectName(QStringLiteral("ScrollBoxImage") + suffix);
    pictureArea->setBackgroundRole(QPalette::Dark);
    pictureArea->setAlignment(Qt::AlignCenter);
    // The view always fills the area: a picture larger than the area is
    // centred and clipped at its edges, never scrolled.
    pictureArea->setWidgetResizable(true);
    pictureArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pictureArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pictureArea->setWidget(pictureView);

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    page->addWidget(toolRow);
    page->addWidget(pictureArea, 1);

    // Until a picture arrives only loading makes sense; pasting waits for the
    // clipboard to offer a picture.
    for (QWidget *w : pictureControls())
        w->setEnabled(false);
    pasteButton->setEnabled(false);

    connect(loadButton, &QToolButton::clicked, this, &PicturePage::SpeedButtonOpenImageClick);
    connect(saveButton, &QToolButton::clicked, this, &PicturePage::SpeedButtonSaveImageClick);
    connect(deleteButton, &QToolButton::clicked, this, &PicturePage::SpeedButtonDeleteImageClick);
    connect(cutButton, &QToolButton::clicked, this, &PicturePage::SpeedButtonCutImageClick);
    connect(copyButton, &QToolButton::clicked, this, &PicturePage::SpeedButtonCopyImageClick);
    connect(pasteButton, &QToolButton::clicked, this, &PicturePage::SpeedButtonPasteImageClick);
    for (QToolButton *zoom : {zoomInButton, zoomOutButton}) {
        connect(zoom, &QToolButton::clicked, this,
                [this, zoom] { SpeedButtonZoomImageClick(zoom->property("zoomFactor").toInt()); });
    }
    connect(stretchCheck, &QCheckBox::toggled, this, &PicturePage::CheckBoxStretchImageClick);
}

QList<QWidget *> PicturePage::pictureControls() const
{
    return {saveButton, deleteButton, cutButton, copyButton, zoomInButton, zoomOutButton, stretchCheck};
}

void PicturePage::CheckBoxStretchImageClick(bool stretched)
{
    if (!hasPicture())
        return;
    pictureView->setStretched(stretched);
    // A stretched picture has no size of its own to zoom.
    zoomInButton->setEnabled(!stretched);
    zoomOutButton->setEnabled(!stretched);
}

QImage PicturePage::shownImage() const
{
    if (!hasPicture() || m_shown.isEmpty())
        return {};
    if (qint64(m_shown.width()) * m_shown.height() * 4 > kMaxShownBytes)
        return {};
    QImage shown(m_shown, QImage::Format_ARGB32_Premultiplied);
    if (shown.isNull())
        return {};
    shown.fill(Qt::transparent);
    QPainter p(&shown);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(shown.rect()), m_source, QRectF(m_source.rect()));
    return shown;
}

void PicturePage::setPicture(const QImage &picture)
{
    m_source = picture;
    m_shown = picture.isNull() ? QSize(0, 0) : picture.size();
    showPicture();
}

void PicturePage::setShownSize(QSize size)
{
    if (!hasPicture())
        return;
    m_shown = QSize(std::max(0, size.width()), std::max(0, size.height()));
    showPicture();
}

void PicturePage::clearPicture()
{
    setPicture(QImage());
}

void PicturePage::showPicture()
{
    pictureView->setStretched(hasPicture() && stretchCheck->isChecked());
    pictureView->setPicture(m_source, m_shown);
}

// --- Commands -------------------------------------------------------------

namespace {

// The open dialog's filter, as the command quotes it.
const QString kOpenFilter = fileFilter(QStringLiteral(
    "Tutti (*.jpg;*.jpeg;*.bmp;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp;*.emf;*.wmf|Formato JPEG (*.jpg)|*.jpg|"
    "Formato JPEG (*.jpeg)|*.jpeg|Formato Bitmap (*.bmp)|*.bmp|Formato Metafile avanzato(*.emf)|*.emf|"
    "Formato Metafile standard (*.wmf)|*.wmf"));

// A long decode or a metafile's conversion shows the hourglass.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

void PicturePage::takePicture(const QImage &picture)
{
    for (QWidget *w : pictureControls())
        w->setEnabled(true);
    stretchCheck->setChecked(false);
    setPicture(picture);
    // The box may have been clear already, in which case its reaction did not
    // run; the state is the same as if it had.
    CheckBoxStretchImageClick(false);
}

void PicturePage::dropPicture()
{
    stretchCheck->setChecked(false);
    for (QWidget *w : pictureControls())
        w->setEnabled(false);
    clearPicture();
}

void PicturePage::SpeedButtonOpenImageClick()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Carica immagine");
    request.filter = kOpenFilter;
    const QString path = Messages::fileName(this, request);
    if (path.isEmpty())
        return;
    QImage picture;
    try {
        WaitCursor wait;
        picture = pictures::load(path);
    } catch (const std::exception &e) {
        Messages::error(this, QString::fromUtf8(e.what()));
        return;
    }
    takePicture(picture);
}

void PicturePage::SpeedButtonSaveImageClick()
{
    // The button is disabled without a picture; there is nothing to write.
    if (!hasPicture())
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Salva immagine");
    request.filter = fileFilter(QStringLiteral("Immagine formato Bitmap (*.bmp)|*.bmp"));
    request.suggested = QStringLiteral("Image");
    request.save = true;
    QString path = Messages::fileName(this, request);
    if (path.isEmpty())
        return;
    // The dialog's default extension.
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".bmp");
    try {
        WaitCursor wait;
        pictures::saveBitmap(m_source, path);
    } catch (const std::exception &e) {
        Messages::error(this, QString::fromUtf8(e.what()));
    }
}

void PicturePage::SpeedButtonDeleteImageClick()
{
    if (!Messages::confirm(this, QStringLiteral("Si conferma l'eliminazione dell'immagine?")))
        return;
    dropPicture();
}

void PicturePage::SpeedButtonCopyImageClick()
{
    if (!hasPicture())
        return;
    QGuiApplication::clipboard()->setImage(m_source);
    pasteButton->setEnabled(true);
}

void PicturePage::SpeedButtonCutImageClick()
{
    if (!hasPicture())
        return;
    QGuiApplication::clipboard()->setImage(m_source);
    dropPicture();
    pasteButton->setEnabled(true);
}

void PicturePage::SpeedButtonPasteImageClick()
{
    if (!clipboardHasPicture())
        return;
    const QImage picture = qvariant_cast<QImage>(QGuiApplication::clipboard()->mimeData()->imageData());
    if (picture.isNull())
        return;
    takePicture(pictures::fitted(picture));
}

void PicturePage::SpeedButtonZoomImageClick(int factor)
{
    if (!hasPicture())
        return;
    setShownSize(zoomed(m_shown, factor));
}

void PicturePage::setPictureFromFile(const QString &path)
{
    takePicture(pictures::load(path));
}

void PicturePage::setOpenedPicture(const QImage &picture)
{
    takePicture(picture);
}

void PicturePage::clearForNewAppraisal()
{
    dropPicture();
}

bool PicturePage::clipboardHasPicture()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasImage();
}

void PicturePage::updatePasteAvailability()
{
    pasteButton->setEnabled(clipboardHasPicture());
}

} // namespace brevan::ui
