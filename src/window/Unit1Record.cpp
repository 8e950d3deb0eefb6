// The study record screen (学習記録): reached from the start screen's
// option group, its figures worked out from the journal in memory, and a
// way back to the start screen.
#include "window/Unit1.h"

#include "window/KirokuView.h"
#include "window/Widgets.h"
#include "data/MogiHaibun.h"
#include "drill/KirokuFigures.h"
#include "text/Clock.h"

#include <QPushButton>
#include <QStatusBar>

namespace {

const QString kStatusKiroku = QStringLiteral(" ： 学習の記録です。[戻る]でスタート画面に戻ります");

} // namespace

void TForm1::CreateKirokuScreen()
{
    pnlKiroku = new TPanel(this, QStringLiteral("pnlKiroku"), FormStyle::kNavy);
    pnlKiroku->setGeometry(0, 0, width(), StatusBar1->y());
    pnlKiroku->setVisible(false);
    kirokuView = new KirokuView(pnlKiroku);
    kirokuView->setGeometry(16, 16, 961, 548);
    btnKirokuBack = new QPushButton(QStringLiteral("戻る(&B)"), pnlKiroku);
    btnKirokuBack->setObjectName(QStringLiteral("btnKirokuBack"));
    btnKirokuBack->setGeometry(428, 578, 137, 33);
    btnKirokuBack->setAutoDefault(false);
    connect(btnKirokuBack, &QPushButton::clicked, this, &TForm1::btnKirokuBackClick);
}

void TForm1::btnKirokuClick()
{
    CreateHiddenScreens();
    std::int32_t today = 0;
    std::int32_t second = 0;
    LocalDayAndSecond(Clock::Now(), today, second);
    // The paper's mix as the mock exam reads it; a file it warns about gives
    // the default mix here too, and the warning is the mock exam's to give.
    kirokuView->SetFigures(ComputeKirokuFigures(Drill.ToiTable, JournalEntries(), today, ReadMogiHaibun().haibun));
    SetStatusText(kStatusKiroku);
    HideAllScreens();
    pnlKiroku->setVisible(true);
    btnKirokuBack->setFocus();
}

void TForm1::btnKirokuBackClick()
{
    ShowStartScreen();
}
