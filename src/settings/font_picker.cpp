#include "settings/font_picker.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QScreen>
#include <QStringListModel>
#include <QStyledItemDelegate>

namespace {
constexpr int kEntryHeight = 19;
constexpr int kListPointSize = 10;

// Draws each font name in its own face. The face is made only when the entry is
// painted, so opening a list of hundreds of fonts loads just the visible ones.
class FontNameDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        const QString family = index.data(Qt::DisplayRole).toString();
        QFont face(family, kListPointSize);
        painter->save();
        painter->setFont(face);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(
            option.rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, family);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return { option.rect.width(), kEntryHeight };
    }
};
} // namespace

void centreOnScreen(QWidget* window)
{
    const QWidget* anchor = window->parentWidget() ? window->parentWidget() : window;
    if (QScreen* screen = anchor->screen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

QLabel* addSample(QDialog* picker, const QString& text, const QRect& captionPlace, const QRect& samplePlace)
{
    auto* caption = new QLabel(QStringLiteral("- ukázka -"), picker);
    caption->setObjectName(QStringLiteral("Label1"));
    caption->setGeometry(captionPlace);
    auto* sample = new QLabel(text, picker);
    sample->setObjectName(QStringLiteral("Panel1"));
    sample->setAccessibleName(caption->text());
    sample->setFrameShape(QFrame::Panel);
    sample->setFrameShadow(QFrame::Sunken);
    sample->setAlignment(Qt::AlignCenter);
    sample->setGeometry(samplePlace);
    return sample;
}

Tpismo::Tpismo(RowItem& item, QWidget* parent)
    : QDialog(parent)
    , m_item(item)
{
    setObjectName(QStringLiteral("pismo"));
    setWindowTitle(QStringLiteral("Písmo"));
    setFixedSize(234, 81);

    m_fonts = new QComboBox(this);
    m_fonts->setObjectName(QStringLiteral("ComboBox1"));
    m_fonts->setAccessibleName(windowTitle());
    m_fonts->setGeometry(8, 8, 218, 24);
    QFont listFont = m_fonts->font();
    listFont.setPointSize(kListPointSize);
    m_fonts->setFont(listFont);
    m_fonts->setMaxVisibleItems(16);
    auto* view = new QListView(m_fonts);
    view->setUniformItemSizes(true);
    m_fonts->setView(view);
    m_fonts->setItemDelegate(new FontNameDelegate(m_fonts));
    m_fonts->setModel(new QStringListModel(QFontDatabase::families(), m_fonts));

    m_sample = addSample(this, QStringLiteral("Písmo"), QRect(8, 36, 80, 16), QRect(92, 36, 134, 38));

    // The entry of the kind's face, or none when it is not installed here; selecting
    // it is no pick, so a face missing here stays in the settings.
    m_fonts->setCurrentIndex(m_fonts->findText(item.font, Qt::MatchFixedString));
    QFont sampleFont = m_sample->font();
    sampleFont.setFamily(item.font);
    m_sample->setFont(sampleFont);
    connect(m_fonts, &QComboBox::activated, this, &Tpismo::pick);
}

void Tpismo::pick(int index)
{
    if (index < 0)
        return;
    m_item.font = m_fonts->itemText(index);
    QFont sampleFont = m_sample->font();
    sampleFont.setFamily(m_item.font);
    m_sample->setFont(sampleFont);
}

void Tpismo::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen(this);
}
