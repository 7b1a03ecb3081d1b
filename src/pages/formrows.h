// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The layout of the appraiser's and the description pages: groups across the
// centred panel, captions above their fields, the rows of both pages on the
// same columns so they read as one form.
#include "pagekit.h"

#include <QLabel>

namespace brevan::ui::formrows {

// Geometry, in pixels.
inline constexpr int kGroupLeft = 8;
inline constexpr int kGroupWidth = kCentredPanelWidth - 2 * kGroupLeft;
inline constexpr int kInnerLeft = 8;
inline constexpr int kGap = 6;
inline constexpr int kFirstRowTop = 18;
inline constexpr int kRowPitch = 40;
inline constexpr int kCaptionHeight = 14;
inline constexpr int kFieldHeight = 21;
// A municipality field shows about twenty letters; its drop-down is wide
// enough for the longest names.
inline constexpr int kMunicipalityListWidth = 200;

constexpr int groupHeight(int rows) { return kFirstRowTop + rows * kRowPitch + 3; }
constexpr int rowTop(int row) { return kFirstRowTop + row * kRowPitch; }

// Lays fields out from the left edge of a group, one row at a time, each with
// its caption above it; captionLines > 1 makes room for captions that wrap,
// and single-line captions then sit just above their fields.
class RowPlacer {
public:
    RowPlacer(QWidget *group, int top, int captionLines = 1)
        : m_group(group), m_top(top), m_fieldTop(top + captionLines * kCaptionHeight)
    {
    }

    template <typename Field>
    Field *add(Field *field, const QString &caption, int width)
    {
        field->setGeometry(m_x, m_fieldTop, width, kFieldHeight);
        QLabel *label = placeLabel(caption, m_group, m_x, m_fieldTop - kCaptionHeight);
        label->setBuddy(field);
        m_x += width + kGap;
        return field;
    }

    // A field under a caption that wraps within columnWidth.
    template <typename Field>
    Field *addWrapped(Field *field, const QString &caption, int width, int columnWidth)
    {
        field->setGeometry(m_x, m_fieldTop, width, kFieldHeight);
        QLabel *label = makeLabel(caption, m_group);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        label->setGeometry(m_x, m_top, columnWidth, m_fieldTop - m_top);
        label->setBuddy(field);
        m_x += columnWidth + kGap;
        return field;
    }

private:
    QWidget *m_group;
    int m_top;
    int m_fieldTop;
    int m_x = kInnerLeft;
};

} // namespace brevan::ui::formrows
