// Study by area on the start screen: the 分野 drop-down beside the
// difficulty (全分野, the bank's areas, 最近間違えた問題, 今日の復習),
// remembered in a file of its own, and the button to the study record.
#include "window/Unit1.h"

#include "window/MessageBox.h"
#include "window/SjisText.h"
#include "window/Widgets.h"
#include "data/BunyaFile.h"
#include "data/KirokuRow.h"
#include "drill/Bunya.h"
#include "drill/Fukushu.h"
#include "drill/ShownText.h"
#include "text/Clock.h"

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
    cbBunya->addItem(QStringLiteral("今日の復習"), QByteArray(kBunyaFukushu));
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

namespace {

std::int32_t Today()
{
    std::int32_t today = 0, second = 0;
    LocalDayAndSecond(Clock::Now(), today, second);
    return today;
}

} // namespace

const std::vector<KirokuEntry>& TForm1::JournalEntries() const
{
    return Drill.KirokuEntries();
}

void TForm1::ChooseBunyaForRun()
{
    ChooseBunya(Drill, cbBunya->currentData().toByteArray().toStdString(), JournalEntries(), Today());
}

void TForm1::TellNoBunyaQuestions()
{
    if (Drill.Bunya != kBunyaFukushu) {
        MessageBox::error(this, kWindowTitle,
                          QStringLiteral("「%1」には出題できる問題がありません。\n分野を選び直してください。")
                              .arg(cbBunya->currentText()));
        return;
    }
    // Nothing due today: when the next review comes, if within the week.
    const std::int32_t today = Today();
    const auto due = FukushuDueCounts(ComputeFukushuMemory(Drill.ToiTable, JournalEntries()), today);
    QString text = QStringLiteral("今日復習する問題はありません。");
    for (std::size_t day = 1; day < due.size(); ++day) {
        if (due[day] == 0)
            continue;
        std::int32_t y, m, d;
        CivilDate(today + static_cast<std::int32_t>(day), y, m, d);
        text += QStringLiteral("\n次の復習は%1月%2日（%3問）です。").arg(m).arg(d).arg(due[day]);
        break;
    }
    // Nothing is wrong: a word, not an error.
    MessageBox::information(this, kWindowTitle, text + QStringLiteral("\n別の分野を選んで学習しましょう。"));
}
