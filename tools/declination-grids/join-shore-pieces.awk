# Joins the shoreline pieces of a binned GSHHG dump (gmt coast -W -M) into
# rings: pieces meet at bin edges with identical end points. Prints the
# closed rings only, each after a ">" line; pieces that never close (coasts
# leaving the region) are dropped. With -v OPEN=1 it prints those instead, the
# pieces joined as far as they go, and no ring.
function flush() {
  if (n == 0) return
  first = xy[1]; last = xy[n]
  if (first == last) { ring[++rings] = body(1, n - 1) }
  else { ++open; piece[open] = body(1, n); head[open] = first; tail[open] = last; by_head[first] = open }
  n = 0
}
function body(a, b,   s, k) { s = ""; for (k = a; k <= b; ++k) s = s xy[k] "\n"; return s }
/^>/ { flush(); next }
/^#/ { next }
{ xy[++n] = $1 "\t" $2 }
END {
  flush()
  for (p = 1; p <= open; ++p) {
    if (used[p]) continue
    used[p] = 1; s = piece[p]; end = tail[p]; closed = 0
    while (1) {
      if (end == head[p]) { closed = 1; break }
      if (!(end in by_head) || used[by_head[end]]) break
      q = by_head[end]; used[q] = 1
      s = s substr(piece[q], index(piece[q], "\n") + 1)   # the shared point once
      end = tail[q]
    }
    if (closed) { sub(/[^\n]*\n$/, "", s); ring[++rings] = s }   # drop the repeated first point
    else chain[++chains] = s
  }
  if (OPEN) for (r = 1; r <= chains; ++r) printf ">\n%s", chain[r]
  else for (r = 1; r <= rings; ++r) printf ">\n%s", ring[r]
}
