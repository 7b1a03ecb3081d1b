// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The program's face: the framed picture, the shadowed title and the
// publisher's particulars, shared by the splash window and the start page.
#include <QFrame>
#include <QLabel>
#include <QStringList>

namespace brevan::app {

// The publisher's particulars: author, postal address, e-mail, telephone.
QStringList publisherLines();

// The title drawn twice: grey, then blue one pixel up and to the left.
class ShadowTitle : public QWidget {
    Q_OBJECT
public:
    ShadowTitle(const QString &text, int pixelHeight, QWidget *parent);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QString m_text;
    QFont m_font;
};

// The program picture (95 × 95, stretched) in a lowered 97 × 97 frame.
class PictureFrame : public QFrame {
    Q_OBJECT
public:
    explicit PictureFrame(QWidget *parent);
Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// A navy particulars line that reports clicks.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    ClickableLabel(const QString &text, QWidget *parent);
Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace brevan::app
