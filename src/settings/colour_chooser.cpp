#include "settings/colour_chooser.h"

#include <QColorDialog>
#include <QPainter>

std::optional<QColor> SystemColourChooser::choose(const QColor& initial, QWidget* parent)
{
    const QColor colour = QColorDialog::getColor(initial, parent);
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}

ColourSwatch::ColourSwatch(QWidget* parent)
    : QAbstractButton(parent)
{
    const QString hint = QStringLiteral("Kliknutím zvolíte barvu");
    setToolTip(hint);
    setAccessibleName(hint);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void ColourSwatch::setColour(const QColor& colour)
{
    m_colour = colour;
    update();
}

QSize ColourSwatch::sizeHint() const
{
    return { 56, 20 };
}

void ColourSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(frame, m_colour);
    painter.setPen(hasFocus() ? palette().color(QPalette::Highlight) : QColor(Qt::black));
    painter.drawRect(frame);
}
