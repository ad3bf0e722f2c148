#pragma once

#include <QAbstractButton>
#include <QColor>

#include <optional>

// Asks the user for a colour, starting from `initial`; nothing when the user cancels.
// The pages take one so that tests can answer in place of the system's dialog.
class ColourChooser {
public:
    virtual ~ColourChooser() = default;
    virtual std::optional<QColor> choose(const QColor& initial, QWidget* parent) = 0;
};

// The system's colour dialog.
class SystemColourChooser final : public ColourChooser {
public:
    std::optional<QColor> choose(const QColor& initial, QWidget* parent) override;
};

// A framed patch of one colour that the user clicks to choose another.
class ColourSwatch final : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ColourSwatch)

public:
    explicit ColourSwatch(QWidget* parent = nullptr);

    void setColour(const QColor& colour);
    QColor colour() const { return m_colour; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
};
