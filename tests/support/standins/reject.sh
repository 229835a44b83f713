#!/bin/sh
# Stands in for nec2c on a deck it cannot use: the reason as the output's last line, status 255.
printf '\n  DATA CARD No:   1 EX   0     2    18\n\n  NO SEGMENT HAS AN ITAG OF 2' > "$4"
exit 255
