#pragma once

#include "settings/colour_chooser.h"
#include "settings/sample_preview.h"
#include "settings/settings.h"

#include <QWidget>

#include <array>
#include <memory>

class Messenger;
class QGridLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;

// A settings page that edits the working copy of the settings and shows it in a preview.
class StylePage : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StylePage)

public:
    // Takes every control's value from the working copy again and repaints the preview.
    virtual void load() = 0;
    // Relabels the preview in the current format and repaints it with the current looks.
    void refreshPreview() { m_preview->refresh(); }
    SamplePreview* preview() const { return m_preview; }

protected:
    static constexpr int kControlHeight = 21;

    StylePage(Settings& working, QWidget* parent);
    static QVBoxLayout* pageLayout(QWidget* page);
    void addKindRowsAndPreview(QGridLayout* grid, SamplePreviewModel::Looks looks);
    // A caption in the pages' heading style.
    QLabel* heading(const QString& text);
    QPushButton* button(const QString& text, const QString& name);

    Settings& m_working;
    SamplePreview* m_preview = nullptr;
};

// "Nastavení barev": background and text colour of each row kind.
class ColourPage final : public StylePage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ColourPage)

public:
    explicit ColourPage(Settings& working, QWidget* parent = nullptr);
    ~ColourPage() override;

    // Where the swatches ask for a colour; nullptr restores the system's dialog.
    void setColourChooser(ColourChooser* chooser);
    void load() override;

private:
    void chooseColour(int item, bool background);
    void setColour(int item, bool background, std::int32_t colour);

    std::unique_ptr<SystemColourChooser> m_systemChooser;
    ColourChooser* m_chooser = nullptr;
    std::array<ColourSwatch*, Settings::kItemCount> m_backgrounds {};
    std::array<ColourSwatch*, Settings::kItemCount> m_texts {};
};

// "Možnosti zobrazení": font face and style of each row kind, through the two pickers.
class DisplayPage final : public StylePage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DisplayPage)

public:
    explicit DisplayPage(Settings& working, QWidget* parent = nullptr);

    void load() override;
    // The row kind (1 ... 6) whose font or style a picker edits; 0 before the first.
    int cislo() const { return m_cislo; }

private:
    void pickFont(int item);
    void pickStyle(int item);

    int m_cislo = 0;
};
