#pragma once

#include <QList>

#include <functional>
#include <optional>

namespace moxon {

// The engine an analysis runs its designs on, a round at a time: every design of the round run
// side by side and answered in the same order; none when the analysis was cancelled meanwhile.
// It blocks, and may run on a thread of its own. The tolerances and a trim ask it for their
// probes' figures and impedances (ProbeEngine); a tuning's engine (TuneEngine) is its like,
// answering its candidates' figures with the engine runs they took, since a band's take
// varies, and told which candidates of the band goal are worth running whole. Tests stand a closed
// form in for nec2c behind both.
template<typename Design, typename Answer>
using DesignEngine = std::function<std::optional<QList<Answer>>(const QList<Design> &)>;

} // namespace moxon
