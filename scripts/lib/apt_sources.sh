# Sourced by scripts/setup: apt sources of our own, derived from this
# machine's apt configuration at run time (its mirrors, keys and options),
# never written by hand.

# Writes into DIR a copy of the machine's binary package sources of release
# FROM, renamed to release TO: DIR/sources.list (one-line entries) and
# DIR/parts/*.sources (deb822 entries). The security suite is left out: its
# index is at times out of step with the others, and what we fetch from the
# sources made here needs nothing from it. Entries for other releases or
# other distributions' repositories are left out too. Fails when nothing is
# left.
apt_sources_derive() {
  local dir=$1 from=$2 to=$3 file
  rm -rf "$dir/parts" && mkdir -p "$dir/parts" || return 1
  : >"$dir/sources.list"
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    awk -v from="$from" -v to="$to" '
      $1 != "deb" { next }
      {
        i = 2
        if ($i ~ /^\[/) { while ($i !~ /\]$/ && i < NF) i++; i++ }
        suite = $(i + 1)
        if (suite ~ /-security$/ || (suite != from && index(suite, from "-") != 1)) next
        $(i + 1) = to substr(suite, length(from) + 1)
        print
      }' "$file" >>"$dir/sources.list"
  done
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    # Paragraph by paragraph: the Suites field renamed, the rest as it is
    # (a key written into Signed-By included).
    awk -v from="$from" -v to="$to" '
      function flush() {
        if (keep && suites != "") printf "%s\n", para
        para = ""; keep = 0; suites = ""
      }
      /^[ \t]*$/ { flush(); next }
      /^#/ { next }
      tolower($1) == "types:" {
        keep = ($0 ~ /[: ]deb( |$)/)
        para = para "Types: deb\n"; next
      }
      tolower($1) == "suites:" {
        for (i = 2; i <= NF; i++) {
          if ($i ~ /-security$/ || ($i != from && index($i, from "-") != 1)) continue
          suites = suites " " to substr($i, length(from) + 1)
        }
        para = para "Suites:" suites "\n"; next
      }
      { para = para $0 "\n" }
      END { flush() }' "$file" >"$dir/parts/$(basename "$file")"
    [ -s "$dir/parts/$(basename "$file")" ] || rm -f "$dir/parts/$(basename "$file")"
  done
  [ -s "$dir/sources.list" ] || [ -n "$(ls -A "$dir/parts")" ]
}

# apt-get's options to use only the sources apt_sources_derive wrote into
# DIR, with package lists and downloads of their own there: the machine's
# own lists, cache and sources stay as they are. Fills the array apt_private.
apt_sources_options() {
  local dir=$1
  mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial"
  apt_private=(-o "Dir::Etc::SourceList=$dir/sources.list" -o "Dir::Etc::SourceParts=$dir/parts"
    -o "Dir::State::Lists=$dir/lists" -o "Dir::Cache=$dir/cache"
    -o "Acquire::Languages=none")
}
