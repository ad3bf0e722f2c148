#include "settings/style_picker.h"

#include "settings/font_picker.h"

#include <QCheckBox>
#include <QLabel>

Tstyl::Tstyl(RowItem& item, QWidget* parent)
    : QDialog(parent)
    , m_item(item)
{
    setObjectName(QStringLiteral("styl"));
    setWindowTitle(QStringLiteral("Styl písma"));
    setFixedSize(161, 138);

    addBox(QStringLiteral("Tučné"), QStringLiteral("CheckBox1"), 8, &RowItem::bold);
    addBox(QStringLiteral("Kurzíva"), QStringLiteral("CheckBox2"), 30, &RowItem::italic);
    addBox(QStringLiteral("Podtržené"), QStringLiteral("CheckBox3"), 52, &RowItem::underline);

    m_sample = addSample(this, QStringLiteral("Styl písma"), QRect(8, 78, 145, 16), QRect(8, 96, 145, 34));
    showSample();
}

QCheckBox* Tstyl::addBox(const QString& text, const QString& name, int top, bool RowItem::*flag)
{
    auto* box = new QCheckBox(text, this);
    box->setObjectName(name);
    box->setGeometry(8, top, 145, 20);
    box->setChecked(m_item.*flag);
    connect(box, &QCheckBox::toggled, this, [this, flag](bool on) {
        m_item.*flag = on;
        showSample();
    });
    return box;
}

void Tstyl::showSample()
{
    QFont font = m_sample->font();
    font.setBold(m_item.bold);
    font.setItalic(m_item.italic);
    font.setUnderline(m_item.underline);
    m_sample->setFont(font);
}

void Tstyl::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen(this);
}
