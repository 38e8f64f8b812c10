#!/usr/bin/env bash
# Checks that no layer library calls into a layer it does not link: every
# symbol a library needs and another of our libraries defines must come from
# the library itself or from one of the layers it lists (transitively).
# Usage: check_layers.sh MANIFEST, one line per layer: NAME LIBRARY DEPS...
set -euo pipefail
manifest=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

declare -A lib deps
while read -r name path rest; do
  [ -n "$name" ] || continue
  lib[$name]=$path
  deps[$name]=$rest
  # Strong definitions only: inline functions and templates (weak) are
  # emitted by every user and say nothing about who owns them.
  nm -g --defined-only "$path" 2>/dev/null | awk 'NF == 3 && $2 ~ /^[TDBRV]$/ { print $3 }' |
    sort -u >"$work/$name.def"
  nm -g --undefined-only "$path" 2>/dev/null | awk '{ print $NF }' | sort -u >"$work/$name.undef"
done <"$manifest"

# The layers a layer may use: itself and its dependencies, transitively.
closure() {
  local -A seen=()
  local queue=("$1")
  while [ ${#queue[@]} -gt 0 ]; do
    local n=${queue[0]}
    queue=("${queue[@]:1}")
    [ -n "${seen[$n]:-}" ] && continue
    seen[$n]=1
    for d in ${deps[$n]:-}; do queue+=("$d"); done
  done
  echo "${!seen[@]}"
}

status=0
checked=0
for name in "${!lib[@]}"; do
  allowed=" $(closure "$name") "
  for other in "${!lib[@]}"; do
    case "$allowed" in *" $other "*) continue ;; esac
    hits=$(comm -12 "$work/$name.undef" "$work/$other.def" || true)
    if [ -n "$hits" ]; then
      status=1
      echo "$name calls into $other, which it does not link (a call against the layers):"
      echo "$hits" | c++filt | sed 's/^/    /'
    fi
  done
  checked=$((checked + 1))
done
echo "layers checked: $checked"
exit $status
