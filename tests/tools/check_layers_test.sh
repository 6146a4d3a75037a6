#!/usr/bin/env bash
# tools/check-layers: each planted include is judged as the floors say, an
# upward include planted in a copy of the tree fails it, the tree passes.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
check="$root/tools/check-layers"
. "$root/tests/tools/script_test_common.sh"

# including file | included path | expected status (0 passes, 1 fails)
cases=(
  "env/numbers.cpp|db/db_engine.h|1"            # the base knows nothing of tables
  "platform/files.cpp|env/memory.h|1"           # the ground stands on nothing
  "db/dbf_table.cpp|env/session/environment.h|1"
  "env/session/services.cpp|ui/screen.h|1"
  "ui/menu.cpp|app/frame.h|1"
  "interchange/xml_writer.cpp|ui/screen.h|1"    # peers only where allowed
  "ui/menu.cpp|print/printer.h|1"
  "interchange/xml_writer.cpp|print/printer.h|1"
  "tables/catalogue.cpp|sales/invoice.h|1"
  "sales/invoice.cpp|masterdata/goods.cpp|1"    # a module only through its header
  "env/memory.cpp|tests/support/test_support.h|1"
  "installer/main.cpp|db/dbf_table.h|1"         # the installer stands on platform and base only
  "installer/main.cpp|ui/screen.h|1"
  "env/memory.cpp|installer/steps.h|1"
  "newfolder/thing.cpp|env/memory.h|1"          # a folder must be placed first
  "env/memory.cpp|generated/table.h|1"
  "db/dbf_table.cpp|env/memory.h|0"
  "db/dbf_table.cpp|platform/files.h|0"
  "env/session/environment.cpp|db/db_engine.h|0"
  "env/session/environment.cpp|env/paths.h|0"
  "print/page.cpp|print/printer.h|0"
  "app/frame.cpp|tables/catalogue.h|0"
  "sales/invoice.cpp|masterdata/goods.h|0"
  "masterdata/goods.cpp|sales/invoice.h|1"     # the modules stand in an order
  "jpk/rates.cpp|sales/document_kinds.h|1"
  "tables/seeds.cpp|app/form_text.h|1"          # the catalogue stands under the frame
  "printouts/demand.cpp|finance/interest.h|0"
  "retail/receipts.cpp|fiscal/printer.h|0"
  "sales/document_header.cpp|printouts/invoice_print.h|0"   # a road that runs both ways
  "sales/document_header.cpp|finance/payments.h|0"
  "sales/document_header.cpp|printouts/cash_book.h|1"       # only through the road's headers
  "sales/document_header.cpp|retail/receipts.h|1"
  "tests/env/x_test.cpp|app/frame.h|0"
  "bench/engine/bench.cpp|ui/screen.h|0"
  "installer/main.cpp|installer/steps.h|0"
  "installer/main.cpp|platform/files.h|0"
  "installer/lha.cpp|env/crc16.h|0"
  "print/page.cpp|ui/screen.h|0"                # printing asks through menus and boxes
  "print/printer.cpp|interchange/printer_hash.h|0"
  "db/dbf_table.cpp|dbf_records.h|0"            # a bare name is a file beside it
)

# Every case is planted in one tree, each include on a line of its own, and
# judged by one run (each run starts an interpreter): a failing case must be
# named at its line, a passing one never, and nothing else may be named.
tree="$work/case"
declare -A next_line
expected_faults=0
for entry in "${cases[@]}"; do
  IFS='|' read -r from target expected <<<"$entry"
  if [ -z "${next_line[$from]:-}" ]; then
    mkdir -p "$tree/$(dirname "$from")"
    printf '#include <cstdio>\n' >"$tree/$from"
    next_line[$from]=2
  fi
  printf '#include "%s"\n' "$target" >>"$tree/$from"
  next_line[$from]=$((next_line[$from] + 1))
  [ "$expected" = 1 ] && expected_faults=$((expected_faults + 1))
done
output=$("$check" "$tree" 2>/dev/null)
status=$?
[ "$status" = 1 ] || fail "the planted tree: status $status, expected 1"
declare -A line_of
for entry in "${cases[@]}"; do
  IFS='|' read -r from target expected <<<"$entry"
  line_of[$from]=$((${line_of[$from]:-1} + 1))
  named=0
  grep -qF "$from:${line_of[$from]}: #include \"$target\"" <<<"$output" && named=1
  if [ "$expected" = 1 ] && [ "$named" = 0 ]; then
    fail "$from including $target: not named as running up: $output"
  elif [ "$expected" = 0 ] && [ "$named" = 1 ]; then
    fail "$from including $target: named, expected to pass: $output"
  fi
done
faults=$(grep -c . <<<"$output")
[ "$faults" = "$expected_faults" ] || fail "$faults lines named, expected $expected_faults: $output"

# The tree as it stands passes; a copy with one upward include does not.
"$check" "$root" || fail "the tree does not pass"
copy="$work/copy"
mkdir -p "$copy"
for entry in "$root"/*; do
  case "$(basename "$entry")" in build*) continue ;; esac
  cp -r "$entry" "$copy/"
done
"$check" "$copy" >/dev/null || fail "the copy of the tree does not pass"
echo '#include "ui/screen.h"' >>"$copy/db/db_engine.h"
output=$("$check" "$copy" 2>&1) && fail "an upward include in db/db_engine.h passes"
grep -q '^db/db_engine.h:[0-9]*: #include "ui/screen.h"' <<<"$output" || fail "the planted line is not named: $output"

[ "$failures" = 0 ] && echo "all cases pass"
exit $((failures > 0))
