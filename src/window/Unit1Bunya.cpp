// Study by area on the start screen: the 分野 drop-down beside the
// difficulty (全分野, the bank's areas, 最近間違えた問題), remembered in a file
// of its own, and the button to the study record.
#include "window/Unit1.h"

#include "window/SjisText.h"
#include "window/Widgets.h"
#include "data/BunyaFile.h"
#include "drill/Bunya.h"
#include "drill/ShownText.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

// Inside gbOption, right of cbNanwido (which ends at 257): nothing specified
// moves. The smaller font fits the three into the group's free width.
constexpr QRect kLabel {264, 40, 40, 21};
constexpr QRect kCombo {304, 36, 118, 29};
constexpr QRect kButton {426, 34, 95, 33};
// Area names longer than this are cut for the list.
constexpr std::size_t kShownNameBytes = 60;

} // namespace

void TForm1::CreateBunyaControls()
{
    lblBunya = new QLabel(QStringLiteral("分野："), gbOption);
    lblBunya->setObjectName(QStringLiteral("lblBunya"));
    lblBunya->setGeometry(kLabel);
    lblBunya->setFont(FormStyle::GothicFont(16));
    // The list opens wide enough for long area names.
    cbBunya = new TWideListBox(gbOption);
    cbBunya->setObjectName(QStringLiteral("cbBunya"));
    cbBunya->setEditable(false);
    cbBunya->setGeometry(kCombo);
    cbBunya->setFont(FormStyle::GothicFont(16));
    cbBunya->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    QPalette palette = cbBunya->palette();
    palette.setColor(QPalette::Base, FormStyle::kWhite);
    palette.setColor(QPalette::Button, FormStyle::kWhite);
    cbBunya->setPalette(palette);
    lblBunya->setBuddy(cbBunya);
    btnKiroku = new QPushButton(QStringLiteral("学習記録(&K)"), gbOption);
    btnKiroku->setObjectName(QStringLiteral("btnKiroku"));
    btnKiroku->setGeometry(kButton);
    btnKiroku->setFont(FormStyle::GothicFont(16));
    btnKiroku->setAutoDefault(false);
    setTabOrder(cbNanwido, cbBunya);
    setTabOrder(cbBunya, btnKiroku);
    setTabOrder(btnKiroku, btnLoadNormal);
    connect(cbBunya, &QComboBox::activated, this, &TForm1::cbBunyaChange);
    connect(btnKiroku, &QPushButton::clicked, this, &TForm1::btnKirokuClick);
}

void TForm1::FillBunyaChoices()
{
    cbBunya->clear();
    // Each item carries its Shift_JIS choice; 全分野 carries none.
    cbBunya->addItem(QStringLiteral("全分野"), QByteArray());
    for (const std::string& name : BunyaNames(Drill.ToiTable)) {
        const BoundedText shown = BoundShownLine(name, kShownNameBytes);
        cbBunya->addItem(SjisToQString(shown.text) + (shown.cut ? QStringLiteral("…") : QString()),
                         QByteArray::fromStdString(name));
    }
    cbBunya->addItem(QStringLiteral("最近間違えた問題"), QByteArray(kBunyaRecentMiss));
    // The choice of the last start (read by OpenStudy), while the bank
    // still has it.
    SelectBunyaItem();
}

void TForm1::SelectBunyaItem()
{
    const int index = cbBunya->findData(QByteArray::fromStdString(Drill.Bunya));
    cbBunya->setCurrentIndex(index >= 0 ? index : 0);
    if (index < 0)
        Drill.Bunya.clear();
}

void TForm1::cbBunyaChange(int index)
{
    if (index < 0)
        return;
    Drill.Bunya = cbBunya->itemData(index).toByteArray().toStdString();
    // Remembered at once; a folder that refuses it only forgets the choice.
    WriteBunyaChoice(Drill.Bunya.empty() ? std::string(kBunyaAll) : Drill.Bunya);
}

void TForm1::ChooseBunyaForRun()
{
    ChooseBunya(Drill, cbBunya->currentData().toByteArray().toStdString(), Drill.KirokuEntries());
}
