#!/usr/bin/env bash
# Starts the CUPS scheduler when it is not running and sets up a PDF printer as the default
# printer, so that the print tests send real jobs through a real spooler. Running it again
# changes nothing that is already in place, and needs no root then; only a change does (it
# asks sudo for it where that works without a password). The packages come from
# `install-deps.sh test` (cups, printer-driver-cups-pdf, poppler-utils).
#
# The queue name and its output folder are also passed to the print tests by
# tests/ui/CMakeLists.txt; keep the two in step.
set -euo pipefail

queue=${MOXON_TEST_PRINTER:-MoxonPDF}
outdir=${MOXON_TEST_PDF_DIR:-/var/spool/cups-pdf/moxon}
# cups-pdf reads cups-pdf-<instance>.conf for a queue whose device is cups-pdf:/<instance>, so
# this queue gets an output folder of its own and the system-wide settings stay as they are.
instance=moxon
conf=/etc/cups/cups-pdf-$instance.conf
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd

for tool in cupsd lpadmin lpstat cupsenable cupsaccept; do
    if ! command -v "$tool" >/dev/null; then
        echo "setup-printer.sh: $tool is missing; run scripts/install-deps.sh test" >&2
        exit 1
    fi
done
if [[ ! -e /usr/lib/cups/backend/cups-pdf || ! -f $ppd ]]; then
    echo "setup-printer.sh: the cups-pdf driver is missing; run scripts/install-deps.sh test" >&2
    exit 1
fi

scheduler_running() { lpstat -r 2>/dev/null | grep -q 'scheduler is running'; }

wanted_conf="Out $outdir
AnonDirName $outdir
Label 2
Grp lpadmin"

# Everything the print tests rely on, read without changing anything.
in_place() {
    scheduler_running &&
        [[ -d $outdir && -f $conf && $(cat "$conf" 2>/dev/null) == "$wanted_conf" ]] &&
        lpstat -v "$queue" >/dev/null 2>&1 &&
        lpstat -p "$queue" 2>/dev/null | grep -q 'enabled' &&
        lpstat -a "$queue" 2>/dev/null | grep -q 'accepting requests' &&
        lpstat -d 2>/dev/null | grep -q ": $queue\$"
}

if in_place; then
    echo "Default printer: $queue, PDFs in $outdir"
    exit 0
fi
if [[ $(id -u) -ne 0 ]]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        exec sudo -n bash "$0" "$@"
    fi
    echo "setup-printer.sh: the PDF printer $queue is not set up yet, and setting it up" >&2
    echo "needs root (to start cupsd and add the queue): run it once as root, e.g." >&2
    echo "    sudo bash scripts/setup-printer.sh" >&2
    exit 1
fi

if ! scheduler_running; then
    echo "Starting cupsd"
    mkdir -p /run/cups
    cupsd
    for _ in $(seq 1 100); do
        scheduler_running && break
        sleep 0.1
    done
    if ! scheduler_running; then
        echo "setup-printer.sh: cupsd did not come up within 10 s" >&2
        exit 1
    fi
fi

# Every user's jobs, and anonymous ones, land in one folder that the tests watch. Label 2
# prefixes every file with its job number, so two jobs of the same title never overwrite
# each other.
mkdir -p "$outdir"
chmod 1777 "$outdir"
if [[ ! -f $conf || $(cat "$conf") != "$wanted_conf" ]]; then
    printf '%s\n' "$wanted_conf" >"$conf"
fi

if ! lpstat -v "$queue" >/dev/null 2>&1; then
    echo "Adding the PDF printer $queue"
    lpadmin -p "$queue" -v "cups-pdf:/$instance" -P "$ppd" -D "PDF printer for the print tests"
fi
# A job that fails is dropped rather than retried for ever, so a test waiting for it ends.
lpadmin -p "$queue" -o printer-error-policy=abort-job
cupsenable "$queue"
cupsaccept "$queue"
lpadmin -d "$queue"

if ! lpstat -d | grep -q ": $queue\$"; then
    echo "setup-printer.sh: $queue did not become the default printer" >&2
    exit 1
fi
echo "Default printer: $queue, PDFs in $outdir"
