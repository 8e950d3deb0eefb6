// Program entry: one copy at a time, the main window, its message loop.
#include "app/AppSupport.h"
#include "window/Unit1.h"

#include <exception>
#include <memory>

int main(int argc, char** argv)
{
    SingleInstanceGuard guard;
    if (!guard.Acquire())
        return 1; // another copy runs: end at once, showing nothing

    MiretoApplication app(argc, argv);
    InstallJapaneseTranslations(app);
    std::unique_ptr<TForm1> form;
    try {
        form = std::make_unique<TForm1>();
    } catch (const std::exception& e) {
        ShowExceptionBox(QString::fromLocal8Bit(e.what()));
        return 1;
    } catch (...) {
        ShowExceptionBox(QString());
        return 1;
    }
    form->show();
    app.exec();
    return 0;
}
