# Which shoreline islands belong to France's land although the country
# polygons leave them out. Variables: FRANCE, FOREIGN and ISLANDS, files of
# rings (a ">" line before each) in kilometres of one conformal projection;
# REACH, in km. Prints one line per chosen island: its ring number in
# ISLANDS (from 1), its distance to France's rings and to the nearest
# neighbour's (CELL when none is nearer than CELL km), in km, and whether it
# lies "apart" from France's rings or "overlapping" them.
# An island is chosen when it is nearer to France's rings than to any
# neighbour's (so it neither touches nor lies inside those), and either lies
# apart from France's rings (no vertex of either inside the other) within
# REACH of them, or overlaps them (distance 0).
# With SHORES, a file of shoreline pieces (a ">" line before each) whose lines
# are "x y longitude latitude", it then prints the stretches of those pieces
# that lie outside France's rings and are France's by the same rule (nearer to
# them than to any neighbour's, within REACH), each widened by one vertex at
# either end to tie it to the coast, as rings of zero width: a "> ..." line,
# then the longitudes and latitudes out along the stretch and back.
BEGIN { CELL = 25; BAND = 5 }
function floor(v) { return v == int(v) ? v : (v < 0 ? int(v) - 1 : int(v)) }
function min(a, b) { return a < b ? a : b }
function max(a, b) { return a > b ? a : b }
# Reads a file of rings into the edge set S ("F" or "X"); France's vertices
# are kept too.
function load(file, S,   line, f, n, x, y, px, py, fx, fy) {
  n = 0
  while ((getline line < file) > 0) {
    if (line ~ /^>/) { if (n > 1) add(S, px, py, fx, fy); n = 0; continue }
    if (line ~ /^#/) continue
    split(line, f, /[ \t]+/); x = f[1] + 0; y = f[2] + 0
    if (n == 0) { fx = x; fy = y } else add(S, px, py, x, y)
    px = x; py = y; ++n
    if (S == "F") { vx[++nv] = x; vy[nv] = y }
  }
  if (n > 1) add(S, px, py, fx, fy)
  close(file)
}
# An edge, filed in the CELL squares and the BAND rows it reaches.
function add(S, ax, ay, bx, by,   e, i, j, i0, i1, j0, j1) {
  e = ++ne; EA[e] = ax; EB[e] = ay; EC[e] = bx; ED[e] = by
  i0 = floor(min(ax, bx) / CELL); i1 = floor(max(ax, bx) / CELL)
  j0 = floor(min(ay, by) / CELL); j1 = floor(max(ay, by) / CELL)
  for (i = i0; i <= i1; ++i) for (j = j0; j <= j1; ++j) cell[S, i, j] = cell[S, i, j] " " e
  j0 = floor(min(ay, by) / BAND); j1 = floor(max(ay, by) / BAND)
  for (j = j0; j <= j1; ++j) band[S, j] = band[S, j] " " e
}
# Distance from (x, y) to the nearest edge of S, exact below CELL km, else CELL.
function dist(S, x, y,   best, i, j, ci, cj, n, k, l, d) {
  best = CELL; ci = floor(x / CELL); cj = floor(y / CELL)
  for (i = ci - 1; i <= ci + 1; ++i) for (j = cj - 1; j <= cj + 1; ++j) {
    if (!((S, i, j) in cell)) continue
    n = split(cell[S, i, j], l, " ")
    for (k = 1; k <= n; ++k) { d = to_edge(x, y, l[k] + 0); if (d < best) best = d }
  }
  return best
}
function to_edge(x, y, e,   dx, dy, t, qx, qy) {
  dx = EC[e] - EA[e]; dy = ED[e] - EB[e]
  t = (dx * dx + dy * dy) > 0 ? ((x - EA[e]) * dx + (y - EB[e]) * dy) / (dx * dx + dy * dy) : 0
  t = t < 0 ? 0 : (t > 1 ? 1 : t)
  qx = EA[e] + t * dx - x; qy = EB[e] + t * dy - y
  return sqrt(qx * qx + qy * qy)
}
# Even-odd: (x, y) inside the rings of S.
function inside(S, x, y,   j, n, l, k, e, odd) {
  j = floor(y / BAND); odd = 0
  if (!((S, j) in band)) return 0
  n = split(band[S, j], l, " ")
  for (k = 1; k <= n; ++k) {
    e = l[k] + 0
    if ((EB[e] > y) == (ED[e] > y)) continue
    if (EA[e] + (y - EB[e]) * (EC[e] - EA[e]) / (ED[e] - EB[e]) > x) odd = !odd
  }
  return odd
}
function in_island(q, x, y,   k, a, b, odd) {
  odd = 0
  for (k = first[q]; k <= last[q]; ++k) {
    a = k; b = k < last[q] ? k + 1 : first[q]
    if ((iy[a] > y) == (iy[b] > y)) continue
    if (ix[a] + (y - iy[a]) * (ix[b] - ix[a]) / (iy[b] - iy[a]) > x) odd = !odd
  }
  return odd
}
END {
  load(FRANCE, "F"); load(FOREIGN, "X")
  r = 0; m = 0
  while ((getline line < ISLANDS) > 0) {
    if (line ~ /^>/) { first[++r] = m + 1; last[r] = m; continue }
    if (line ~ /^#/) continue
    split(line, f, /[ \t]+/); ix[++m] = f[1] + 0; iy[m] = f[2] + 0; last[r] = m
  }
  for (q = 1; q <= r; ++q) {
    dF = CELL; apart = 1
    x0 = y0 = 1e9; x1 = y1 = -1e9
    for (k = first[q]; k <= last[q] && apart; ++k) {
      x = ix[k]; y = iy[k]
      if (inside("F", x, y)) apart = 0
      else dF = min(dF, dist("F", x, y))
    }
    if (apart && dF > REACH) continue
    for (k = first[q]; k <= last[q]; ++k) {
      x0 = min(x0, ix[k]); x1 = max(x1, ix[k]); y0 = min(y0, iy[k]); y1 = max(y1, iy[k])
    }
    for (k = 1; k <= nv && apart; ++k)
      if (vx[k] >= x0 && vx[k] <= x1 && vy[k] >= y0 && vy[k] <= y1 && in_island(q, vx[k], vy[k])) apart = 0
    if (!apart) dF = 0
    dX = CELL
    for (k = first[q]; k <= last[q] && dX > 0; ++k)
      dX = inside("X", ix[k], iy[k]) ? 0 : min(dX, dist("X", ix[k], iy[k]))
    if (dF < dX) printf "%d %s %.1f %.1f\n", q, apart ? "apart" : "overlapping", dF, dX
  }
  if (SHORES == "") exit
  n = 0; piece = 0
  while ((getline line < SHORES) > 0) {
    if (line ~ /^>/) { stretches(); n = 0; ++piece; continue }
    split(line, f, /[ \t]+/); sx[++n] = f[1] + 0; sy[n] = f[2] + 0; sl[n] = f[3] "\t" f[4]
  }
  stretches()
}
# The stretches of the piece in sx, sy, sl (n vertices) outside France's
# rings and France's.
function stretches(   k, d, a, b, j) {
  for (k = 1; k <= n; ++k) {
    ours[k] = 0
    if (inside("F", sx[k], sy[k])) continue
    d = dist("F", sx[k], sy[k])
    if (d > REACH) continue
    ours[k] = !inside("X", sx[k], sy[k]) && d < dist("X", sx[k], sy[k])
  }
  for (k = 1; k <= n; ++k) {
    if (!ours[k]) continue
    for (b = k; b < n && ours[b + 1]; ++b) {}
    a = k > 1 ? k - 1 : k; j = b < n ? b + 1 : b
    printf ">  GSHHG shore outside the DCW land (piece %d, vertices %d to %d), out and back\n", piece, a, j
    for (d = a; d <= j; ++d) print sl[d]
    for (d = j - 1; d > a; --d) print sl[d]
    k = b
  }
}
