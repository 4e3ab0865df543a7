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

input=$'a\r\nb'
expect multiline 0 "3	1	b${nl}" -- -m '^b'
expect no-multiline 0 "" -- '^b'

input=$(printf 'a%.0s' $(seq 1 3000))
expect budget 3 "" -- --budget 100000 '(a*)*(?=b)b'

# UTF-8 in and out, indexes in UTF-16 units, a byte-order mark skipped, JSON escapes
printf '\xef\xbb\xbf\xf0\x9f\x98\x80\xe4\xb8\xad\t"\\' > "$dir/u.txt"
input=""
expect utf16-index 0 "2	1	中${nl}" -- '中' "$dir/u.txt"
expect json-escapes 0 "{\"index\":3,\"length\":3,\"value\":\"\\t\\\"\\\\\",\"submatches\":[]}${nl}" -- --json '\t.+' "$dir/u.txt"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
