#pragma once

#include "touchstonetext.h"

#include <QList>

#include <complex>
#include <optional>
#include <variant>

namespace moxon::touchstone {

// Reads the lines of one file in order; the first fault ends the reading.
class Reader
{
public:
    [[nodiscard]] std::optional<Fault> read(const Text &text);
    [[nodiscard]] TouchstoneFile file() const { return {m_points, reference()}; }

private:
    enum class Section
    {
        Header,      // before [Network Data], and all of a version 1 file
        Information, // between [Begin Information] and [End Information]: not read
        NetworkData,
        NoiseData, // two-port noise parameters: nothing a one-port's impedance depends on
        End,
    };

    [[nodiscard]] std::optional<Fault> take(const Line &line);
    // A keyword line of a version 2 file: the version, the sections it opens and closes, and
    // through headerKeyword() those that describe the network data before it.
    [[nodiscard]] std::optional<Fault> keyword(const Line &line);
    [[nodiscard]] std::optional<Fault> headerKeyword(const Line &line, const QByteArray &name,
                                                     const QByteArray &argument);
    [[nodiscard]] std::optional<Fault> referenceValue(const Line &line, const QByteArray &values);
    [[nodiscard]] std::optional<Fault> leaveNetworkData(const Line &line, const QByteArray &name);
    [[nodiscard]] std::optional<Fault> row(const Line &line);
    [[nodiscard]] std::variant<std::complex<double>, QString> impedance(double first,
                                                                        double second) const;
    [[nodiscard]] std::optional<Fault> finish(int lineCount) const;

    // The resistance the S-parameters are normalised to: [Reference] of a version 2 file
    // overrides the option line's R.
    [[nodiscard]] double reference() const
    {
        return m_reference.value_or(m_options ? m_options->referenceOhm : Options().referenceOhm);
    }

    bool m_version2 = false;
    bool m_versionRead = false;
    std::optional<Options> m_options;  // from the first option line; later ones are ignored
    std::optional<double> m_reference; // ohms, from [Reference]
    int m_referenceLine = 0; // of a [Reference] whose value is on the next line; 0 when none
    bool m_onePort = false;  // [Number of Ports] 1 was read
    std::optional<qsizetype> m_frequencies; // [Number of Frequencies]
    Section m_section = Section::Header;
    Section m_beforeInformation = Section::Header;
    QList<TouchstonePoint> m_points;
};

} // namespace moxon::touchstone
