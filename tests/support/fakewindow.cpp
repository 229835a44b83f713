#include "fakewindow.h"

namespace moxon::test {

FakeWindow::FakeWindow(const QLocale &locale)
    : form(toolkit, LocaleNumbers(locale))
{
    toolkit.onPress(Control::btnCalculate, [this] { form.btnCalculate_Click(); });
    toolkit.onPress(Control::btnPrint, [this] { form.btnPrint_Click(); });
    toolkit.onPress(Control::btnModel, [this] { form.btnModel_Click(); });
    toolkit.onPress(Control::btnClose, [this] { form.btnClose_Click(); });
}

FakeWindow &FakeWindow::load()
{
    form.Form_Load();
    toolkit.clearLog();
    return *this;
}

} // namespace moxon::test
