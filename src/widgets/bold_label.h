#pragma once

#include <QColor>
#include <QString>

class QLabel;
class QWidget;

// The forms' captions: bold text in one colour (red headers, navy captions).
QLabel* makeBoldLabel(const QString& text, const QColor& colour, QWidget* parent);
