"""The engine's catalogue as its library gives it (DescriptionSysCoord through
ctypes), for the tests that compare an interface or PROJ with it."""
import ctypes
from typing import NamedTuple


class _Description(ctypes.Structure):
    # DESCRIPTION_SYSCOORD of geokern2.h
    _fields_ = [("code", ctypes.c_int), ("epsg", ctypes.c_int), ("projection", ctypes.c_int),
                ("datum", ctypes.c_int), ("name", ctypes.c_char * 16), ("label", ctypes.c_char * 48),
                ("units", ctypes.c_char * 16)]


class System(NamedTuple):
    code: int
    name: str
    label: str
    epsg: int
    projection: int  # 0 geographic, 1 Lambert, 2 transverse Mercator
    datum: int       # 0 NTF, 1 WGS84, 2 RGF93
    units: str       # "degrés", "grades", "mètres"


def load(path):
    """The library at path and its systems in code order."""
    lib = ctypes.CDLL(path)
    lib.DescriptionSysCoord.restype = ctypes.POINTER(_Description)
    lib.DescriptionSysCoord.argtypes = [ctypes.c_int]
    systems = []
    while lib.DescriptionSysCoord(len(systems) + 1):
        d = lib.DescriptionSysCoord(len(systems) + 1).contents
        systems.append(System(d.code, d.name.decode(), d.label.decode(), d.epsg, d.projection, d.datum,
                              d.units.decode()))
    return lib, systems
