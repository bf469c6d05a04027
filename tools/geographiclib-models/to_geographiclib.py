#!/usr/bin/python3
"""Writes a main-field model in GeographicLib's magnetic model format.

Usage: to_geographiclib.py MODEL.COF|MODEL.shc DIR NAME

Reads NOAA's .COF layout (one epoch, its coefficients and their rates) or the
.shc layout of IGRF (one column per epoch, piecewise linear), and writes
DIR/NAME.wmm (the metadata) and DIR/NAME.wmm.cof (the coefficients), as
GeographicLib's documentation of MagneticModel describes them: the .cof file
holds the 8-byte ID, then NumModels + 1 sets of little-endian int32 N and M,
the cosine terms C(n, m) and the sine terms S(n, m >= 1), order by order
(m major), as IEEE doubles; the last set is the rate at the last epoch.
"""
import pathlib
import struct
import sys


def read_cof(lines):
    # "epoch name date", then "n m g h dg dh" rows, closed by a row of 9s.
    epoch, name, date = lines[0].split()[:3]
    field, rate = {}, {}
    for line in lines[1:]:
        if set(line.strip()) <= {"9"}:
            break
        n, m, g, h, dg, dh = line.split()
        field[int(n), int(m)] = (float(g), float(h))
        rate[int(n), int(m)] = (float(dg), float(dh))
    return name, "ReleaseDate %s\n" % date, [float(epoch)], 5.0, [field], rate


def read_shc(lines):
    # Header, epochs, then "n m values" rows (m < 0: the h of order -m).
    description = lines[0].lstrip("# ")
    lines = [line for line in lines if not line.startswith("#")]
    epochs = [float(t) for t in lines[1].split()]
    fields = [{} for _ in epochs]
    for line in lines[2:]:
        n, m, *values = line.split()
        n, m = int(n), int(m)
        for field, value in zip(fields, values):
            g, h = field.get((n, abs(m)), (0.0, 0.0))
            field[n, abs(m)] = (g, float(value)) if m < 0 else (float(value), h)
    step = epochs[1] - epochs[0]
    last, before = fields[-1], fields[-2]
    rate = {k: ((last[k][0] - before[k][0]) / step, (last[k][1] - before[k][1]) / step) for k in last}
    return description, "", epochs, step, fields, rate


def coefficient_set(terms):
    # The highest degree with a non-zero term: WMMHR2025's rates stop at 15.
    degree = max([n for (n, m), gh in terms.items() if gh != (0.0, 0.0)] or [0])
    cosines = [terms.get((n, m), (0.0, 0.0))[0] for m in range(degree + 1) for n in range(m, degree + 1)]
    sines = [terms.get((n, m), (0.0, 0.0))[1] for m in range(1, degree + 1) for n in range(m, degree + 1)]
    return struct.pack("<ii", degree, degree) + struct.pack("<%dd" % (len(cosines) + len(sines)), *cosines, *sines)


def main(source, folder, name):
    lines = [line for line in pathlib.Path(source).read_text().splitlines() if line.strip()]
    description, date, epochs, step, fields, rate = (read_shc if source.endswith(".shc") else read_cof)(lines)
    # A .COF model runs five years from its epoch; an .shc one to its last epoch.
    end = epochs[-1] if len(epochs) > 1 else epochs[0] + step
    identifier = (name.upper() + "--------")[:8]
    out = pathlib.Path(folder)
    out.mkdir(parents=True, exist_ok=True)
    (out / (name + ".wmm")).write_text(
        "WMMF-2\n# From %s by tools/geographiclib-models/to_geographiclib.py\n" % pathlib.Path(source).name +
        "Name %s\nDescription %s\n%sRadius 6371200\nNumModels %d\nEpoch %r\nDeltaEpoch %r\n"
        % (name, description, date, len(epochs), epochs[0], step) +
        "MinTime %r\nMaxTime %r\nNormalization schmidt\nID %s\n" % (epochs[0], end, identifier))
    (out / (name + ".wmm.cof")).write_bytes(
        identifier.encode() + b"".join(coefficient_set(f) for f in fields) + coefficient_set(rate))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
