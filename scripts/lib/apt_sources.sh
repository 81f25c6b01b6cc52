# Sourced by scripts/setup: apt sources of our own, derived at run time from
# this machine's apt configuration (its mirrors and trusted keys), never
# written by hand.

# Fills the array apt_private with apt-get options that use only the
# machine's package sources of release FROM renamed to release TO, with
# package lists and downloads of their own in DIR: the machine's own lists,
# cache and sources stay as they are. The security suite is left out: its
# index is at times out of step with the others, and nothing fetched this
# way needs it. Fails when no source is left.
apt_private_sources() {
  local dir=$1 from=$2 to=$3
  mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial" "$dir/parts" || return 1
  apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 'Created-By: Packages' |
    awk -v from="$from" -v to="$to" '
      ($2 == from || index($2, from "-") == 1) && $2 !~ /-security$/ {
        print "deb", $1, to substr($2, length(from) + 1), $3
      }' | sort -u >"$dir/sources.list"
  chmod -R a+rX "$dir" # apt fetches as its own unprivileged user
  apt_private=(-o "Dir::Etc::SourceList=$dir/sources.list" -o "Dir::Etc::SourceParts=$dir/parts"
    -o "Dir::State::Lists=$dir/lists" -o "Dir::Cache=$dir/cache" -o "Acquire::Languages=none")
  [ -s "$dir/sources.list" ]
}
