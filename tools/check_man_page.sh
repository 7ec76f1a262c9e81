#!/usr/bin/env bash
# Refuses a man page on which groff has anything to say: every warning
# (-ww) is a fault, since it shows in `man` or in lintian.
set -euo pipefail
page=${1:?usage: check_man_page.sh PAGE}
out=$(LC_ALL=C.UTF-8 groff -man -ww -z "$page" 2>&1) || true
if [ -n "$out" ]; then
  printf '%s\n' "$out"
  echo "check_man_page: groff warns on $page" >&2
  exit 1
fi
