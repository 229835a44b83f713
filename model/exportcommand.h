#pragma once

#include "formstate.h"
#include "localenumbers.h"
#include "modelsource.h"
#include "toolkit.h"

#include <QString>

#include <optional>

namespace moxon {

enum class ModelFormat
{
    Nec,   // NEC-2 input deck, text
    Eznec, // binary model file of 170-byte records
};

// The model button: recalculates, builds the six wires from the shown dimensions, asks for a
// file name and writes the model in the chosen format. The file is replaced only by a
// complete model: it is written to a temporary file beside it and renamed over it at the
// end, so a failure leaves an existing file as it was and reports why.
class ExportCommand
{
public:
    ExportCommand(Toolkit &toolkit, const LocaleNumbers &numbers, FormState &state);

    void run() const;

private:
    // Fills the form's wire table from the result boxes and the polarization and axis
    // options. Nothing when a box holds no number, which only happens before any design
    // has been shown.
    [[nodiscard]] std::optional<WireTable> buildFromResults() const;
    [[nodiscard]] ModelSource modelSource() const;
    void reportFailure(const QString &path, const QString &reason) const;

    Toolkit &m_toolkit;
    const LocaleNumbers &m_numbers;
    FormState &m_state;
};

// Writes the model whole into `path` or leaves the file there as it was.
[[nodiscard]] WriteResult saveModelFile(const QString &path, ModelFormat format,
                                        const ModelSource &source, const LocaleNumbers &numbers);

} // namespace moxon
