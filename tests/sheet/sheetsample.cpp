#include "sheetsample.h"

#include "calculation.h"
#include "localenumbers.h"

using namespace Qt::StringLiterals;

namespace moxon::test {

namespace {

Installation tenMetresOverAverageGround()
{
    Installation installation;
    installation.heightMetres = 10;
    installation.ground = {GroundKind::Real, 13, 0.005};
    installation.conductor = copper();
    return installation;
}

} // namespace

BuildSheet twentyMetreSheet()
{
    FormInputs form{u"14.15"_s, u"2"_s, WireUnit::Millimetre};
    const Calculation run = calculate(form, DisplayUnit::Metre, LocaleNumbers(QLocale::c()));
    BuildSheet sheet =
        buildSheet(modelInputFor(run.shown, run.input, false, true), run.form.wireSize,
                   tenMetresOverAverageGround(), {7.7224, 1.0372, 1.4109, 2.5813},
                   defaultAllowances(DisplayUnit::Metre));
    sheet.origin = SheetDimensions::Tuned;
    sheet.figures.frequencyMhz = 14.15;
    sheet.figures.feed = {48.31, -2.12};
    sheet.figures.swr = 1.05;
    sheet.figures.forwardGain = 11.23;
    sheet.figures.frontToBack = 21.3;
    sheet.figures.takeoff = 27.5;
    sheet.dipMhz = 14.0731;
    return sheet;
}

ToleranceResult twentyMetreTolerances()
{
    ToleranceResult result;
    result.dimensions = {7.7224, 1.0372, 1.4109, 2.5813};
    result.frequencyMhz = 14.15;
    result.installation = tenMetresOverAverageGround();
    result.cuts = {
        {{CutDimension::A, -13.1, 0.4, 0.1034, 0.0412, ToleranceLimit::Swr,
          ToleranceLimit::FrontToBack},
         {CutDimension::B, -5, 0.1, 0.2, 0.0873, ToleranceLimit::SearchEnd, ToleranceLimit::Swr},
         {CutDimension::C, 1, -0.2, 0.05, 0.061, ToleranceLimit::FrontToBack,
          ToleranceLimit::FrontToBack},
         {CutDimension::D, -7, 0.3, 0.0556, 0.0666, ToleranceLimit::Swr, ToleranceLimit::Swr}}};
    return result;
}

} // namespace moxon::test
