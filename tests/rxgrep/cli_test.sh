#!/usr/bin/env bash
# Runs rxgrep on small inputs and compares what it prints and how it exits.
rx=${1:?rxgrep}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
passed=0 failed=0

# expect NAME STATUS EXPECTED_STDOUT -- ARGS... (standard input from $input)
expect() {
  local name=$1 status=$2 want=$3; shift 4
  local got rc
  got=$(printf '%s' "$input" | "$rx" "$@" 2>"$dir/err"; echo "rc=$?")
  rc=${got##*rc=}; got=${got%rc=*}
  if [ "$rc" = "$status" ] && [ "$got" = "$want" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s: status %s (want %s)\n--- got\n%s--- want\n%s---\n' "$name" "$rc" "$status" "$got" "$want"
  fi
}
nl=$'\n'

input=banana
expect lines 0 "1	1	a${nl}3	1	a${nl}5	1	a${nl}" -- a
expect first 0 "1	1	a${nl}" -- --first a
expect count 0 "3${nl}" -- --count a
expect no-match 0 "" -- z
expect replace 0 "bonono" -- --replace o a
expect replace-groups 0 "b[a]n[a]n[a]" -- --replace '[$1]' '(a)'
expect json 0 "{\"index\":2,\"length\":1,\"value\":\"n\",\"submatches\":[\"n\",null]}${nl}" -- --first --json '(n)|(x)'
expect ignore-case 0 "1${nl}" -- -i --count 'BANANA'
expect dash-pattern 0 "0${nl}" -- --count -- '-x'
expect rejected 2 "" -- '('
grep -q '^error 5020: Expected '"')'"' in regular expression$' "$dir/err" && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL rejected message: $(cat "$dir/err")"; }
expect bad-option 1 "" -- --nope a
expect two-outputs 1 "" -- --count --json a
expect bad-budget 1 "" -- --budget 0 a
expect missing-file 1 "" -- a "$dir/none.txt"

# plain literals are counted on the bytes: overlapping occurrences, a case-insensitive
# literal with and without letters, --first, a line break in the literal, a lowered budget
input=$'aaaaa\r\n1-2 1-2\r\nAaA'
expect literal-overlap 0 "2${nl}" -- --count aa
expect literal-first 0 "1${nl}" -- --count --first aa
expect literal-case 0 "3${nl}" -- --count -i aa
expect literal-digits 0 "2${nl}" -- --count -i 1-2
expect literal-crlf 0 "2${nl}" -- --count '\r\n'
expect literal-multiline 0 "2${nl}" -- --count -m '\r\n'
expect literal-budget 3 "" -- --count --budget 1 aa
# and so are fixed-length patterns of ASCII classes
expect steps 0 "2${nl}" -- --count '\d-\d'
expect steps-first 0 "1${nl}" -- --count --first '[ab][ab]'
expect steps-case 0 "3${nl}" -- --count -i '[a][a]'
expect steps-budget 3 "" -- --count --budget 1 '[ab]'

input=$'a\r\nb'
expect multiline 0 "3	1	b${nl}" -- -m '^b'
expect no-multiline 0 "" -- '^b'

input=$(printf 'a%.0s' $(seq 1 3000))
expect budget 3 "" -- --budget 100000 '(a*)*(?=[b])'

# a loop with more after it, counted a window of lines at a time where their runs show it is the
# whole text's count: the same count; where the whole text's one search would run out of steps
# (every line a few, none alone), the whole text's answer
printf 'ab@ cd\n%.0s' $(seq 1 3000) > "$dir/at.txt"
printf 'x ab@cd 中文 a@b\n%.0s' $(seq 1 3000) >> "$dir/at.txt"
input=""
expect windows-checked 0 "6000${nl}" -- --count '\w+@\w+' "$dir/at.txt"
expect windows-checked-budget 3 "" -- --count --budget 20000 '\w+@\w+' "$dir/at.txt"

# UTF-8 in and out, indexes in UTF-16 units, a byte-order mark skipped, JSON escapes
printf '\xef\xbb\xbf\xf0\x9f\x98\x80\xe4\xb8\xad\t"\\' > "$dir/u.txt"
input=""
expect utf16-index 0 "2	1	中${nl}" -- '中' "$dir/u.txt"
expect json-escapes 0 "{\"index\":3,\"length\":3,\"value\":\"\\t\\\"\\\\\",\"submatches\":[]}${nl}" -- --json '\t.+' "$dir/u.txt"

# failures: each told on standard error, each with its own status, never a silent 0
input=aaa
expect directory 1 "" -- a "$dir"
grep -q '^rxgrep: cannot read .*: Is a directory$' "$dir/err" && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL directory message: $(cat "$dir/err")"; }
expect budget-overflow 1 "" -- --budget 99999999999999999999 a
expect budget-blank 1 "" -- --budget ' 5' a
expect budget-plus 1 "" -- --budget +5 a
expect budget-max 0 "3${nl}" -- --count --budget 18446744073709551615 a
rc=0; "$rx" --count a <&- >"$dir/out" 2>"$dir/err" || rc=$?
if [ "$rc" = 1 ] && [ ! -s "$dir/out" ] && grep -q 'cannot read standard input' "$dir/err"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL closed stdin: status $rc, $(cat "$dir/out" "$dir/err")"; fi
if [ -w /dev/full ]; then
  rc=0; printf aaa | "$rx" a >/dev/full 2>"$dir/err" || rc=$?
  if [ "$rc" = 5 ] && grep -q 'cannot write' "$dir/err"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL full disk: status $rc"; fi
fi
rc=0; printf aaa | "$rx" a >&- 2>"$dir/err" || rc=$?
[ "$rc" = 5 ] && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL closed stdout: status $rc"; }

# a lone surrogate (from a four-byte form cut by the pattern) is escaped, so each line is JSON
printf 'x\xf0\x9f\x98\x80y' > "$dir/s.txt"
expect json-surrogates 0 "{\"index\":1,\"length\":1,\"value\":\"\\ud83d\",\"submatches\":[]}${nl}{\"index\":2,\"length\":1,\"value\":\"\\ude00\",\"submatches\":[]}${nl}" -- --json '[^xy]' "$dir/s.txt"
expect json-pair 0 "{\"index\":1,\"length\":2,\"value\":\"😀\",\"submatches\":[\"😀\"]}${nl}" -- --json '([^xy]+)' "$dir/s.txt"

# larger inputs through the file and through a pipe (read in blocks), counted and listed alike
awk 'BEGIN { for (i = 0; i < 200000; i++) printf "line %d 中文 é😀\n", i }' > "$dir/big.txt"
expect big-count 0 "200000${nl}" -- --count '😀' "$dir/big.txt"
input=$(cat "$dir/big.txt")
expect big-pipe 0 "200000${nl}" -- --count '\d+ 中文'
# an empty file and an empty pipe; pipes that end at, just past and far past the first block read
: > "$dir/empty.txt"
input=""
expect empty-file 0 "0${nl}" -- --count a "$dir/empty.txt"
expect empty-pipe 0 "0${nl}" -- --count a
for bytes in 65535 65536 65537 131073 1000001; do
  input=$(head -c "$bytes" /dev/zero | tr '\0' a)
  expect "pipe-$bytes" 0 "$bytes${nl}" -- --count '[ab]'
  expect "pipe-$bytes-decoded" 0 "1${nl}" -- --count 'a+'
done
got=$("$rx" '😀' "$dir/big.txt" | wc -l)
[ "$got" = 200000 ] && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL big listing: $got lines"; }

# input larger than the memory allowed: told as error 7 with its status, not an abort (a
# pattern that needs the text decoded); a class, a literal are counted on the bytes, in that memory
head -c 30000000 /dev/zero | tr '\0' a > "$dir/a30m.txt"
rc=0; (ulimit -v 60000; exec "$rx" --count '[ab]+' "$dir/a30m.txt") >"$dir/out" 2>"$dir/err" || rc=$?
if [ "$rc" = 4 ] && grep -q '^error 7: Out of memory$' "$dir/err"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL out of memory: status $rc, $(cat "$dir/err")"; fi
for p in a '[ab]'; do
  rc=0; (ulimit -v 60000; exec "$rx" --count "$p" "$dir/a30m.txt") >"$dir/out" 2>"$dir/err" || rc=$?
  if [ "$rc" = 0 ] && [ "$(cat "$dir/out")" = 30000000 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL $p in little memory: status $rc, $(cat "$dir/out" "$dir/err")"; fi
done
rm -f "$dir/a30m.txt"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
