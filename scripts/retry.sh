#!/bin/bash
# Runs a command again after a failure, for what fails now and then for a
# reason of the moment: a package mirror mid-sync, a connection reset.
# Usage: scripts/retry.sh TRIES COMMAND [ARG...]
# The pause grows by RETRY_PAUSE seconds (5 unless set) after each failure.
# Exits with the last try's code.
set -u
tries=$1
shift
pause=${RETRY_PAUSE:-5}
for ((i = 1; ; i++)); do
  "$@" && exit 0
  status=$?
  [ "$i" -lt "$tries" ] || exit $status
  echo "retry: '$*' failed ($status); try $((i + 1)) of $tries in $((pause * i)) s" >&2
  sleep $((pause * i))
done
