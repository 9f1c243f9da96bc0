#!/usr/bin/env bash
# The systemd unit of examples/: systemd's own check finds nothing to say (a warning is a failure), and
# the unit runs the clock as a dedicated user with the sound and serial groups, in /var/lib/tintal,
# restarted on failure. Skipped (status 77) where systemd-analyze is missing.
#   verify_unit.sh UNIT TINTAL_BINARY
set -euo pipefail
unit=$1 binary=$2
fail=0
for line in 'User=tintal' 'SupplementaryGroups=audio dialout' 'ExecStart=/usr/local/bin/tintal --dir /var/lib/tintal' \
    'Restart=on-failure' 'WantedBy=multi-user.target'; do
    grep -qxF "$line" "$unit" || { echo "the unit lacks: $line"; fail=1; }
done
command -v systemd-analyze >/dev/null || { echo "no systemd-analyze here"; exit 77; }
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
# The installed path does not exist here: the unit is checked against the binary just built.
sed "s|/usr/local/bin/tintal|$binary|" "$unit" >"$folder/tintal.service"
if ! report=$(systemd-analyze verify --man=no "$folder/tintal.service" 2>&1) || [[ -n $report ]]; then
    echo "systemd-analyze verify: $report"
    fail=1
fi
exit $fail
