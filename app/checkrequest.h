#pragma once

#include "checkreport.h"
#include "modelinput.h"
#include "tuner.h"

#include <QString>

namespace moxon {

// The design check of a model hung as `installation` says, as the window and the command line
// run it: the deck the export writes (over ground raised, with the ground's and the conductor's
// cards), the header naming the design as the user gave it (`wireText` as the wire box shows
// it) and its installation, and what the engine must not be asked: a model the writer refuses,
// one beyond NEC-2's thin-wire model or one that reaches the ground is refused with the
// reason; one outside the thin-wire model's accuracy guideline carries a caution.
[[nodiscard]] CheckRequest checkRequestFor(const ModelInput &model, const QString &wireText,
                                           const Installation &installation = {});

// The model with the dimensions `dims` instead of the shown ones.
[[nodiscard]] ModelInput withDimensions(ModelInput model, const TuneDimensions &dims);

// Tuning of the model, whose dimensions are `shown`, as it hangs in `installation`: each
// candidate checked as the design is; the band goal covers the amateur band that holds the
// design frequency, if one does.
[[nodiscard]] TuneSetup tuneSetup(const ModelInput &model, const Dimensions &shown,
                                  const QString &wireText, const Installation &installation);

} // namespace moxon
