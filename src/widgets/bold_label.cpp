#include "widgets/bold_label.h"

#include <QLabel>

QLabel* makeBoldLabel(const QString& text, const QColor& colour, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}
