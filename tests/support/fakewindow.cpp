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

FakeWindow &FakeWindow::enter(const QString &freq, const QString &wire, int wireEntry)
{
    toolkit.type(Control::txtFreq, freq);
    toolkit.type(Control::txtWD, wire);
    toolkit.pick(Control::cboDiaUnits, wireEntry);
    return *this;
}

void FakeWindow::selectUnits(const QString &units)
{
    if (units == u"ft") {
        form.optFT_Click();
    } else if (units == u"in") {
        form.optIN_Click();
    } else if (units == u"m") {
        form.optM_Click();
    } else if (units == u"mm") {
        form.optMM_Click();
    } else {
        qFatal("no display-unit option for '%s'", qPrintable(units));
    }
}

} // namespace moxon::test
