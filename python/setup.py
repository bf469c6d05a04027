"""Builds the extension module with the project's own CMake build.

The package lives in the project's python/ folder: build_ext configures that
folder alone in its build_temp folder (the engine and the calculator core, what
the extension needs, and nothing else of the tree: no tests, benchmarks,
packaging checks or manual pages), builds the target geokern_python, which
assembles the module, the library it links and the declination data in one
folder, and copies that folder's compiled and data files into the wheel. No
network access: everything comes from the source tree and the machine's Debian
packages (a C++ compiler, CMake, python3-dev, pybind11, numpy).
"""
import os
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

HERE = Path(__file__).resolve().parent
PROJECT = HERE.parent


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        # GEOKERN_CMAKE_BUILD_DIR: an already configured build of the project to
        # take the module from (the tests' install check), instead of a new one.
        build = os.environ.get("GEOKERN_CMAKE_BUILD_DIR")
        if build:
            build = Path(build)
            staged = build / "python" / "packages"
        else:
            if not (PROJECT / "engine" / "CMakeLists.txt").is_file():
                sys.exit(f"the geokern project's sources are expected around {HERE}")
            build = Path(self.build_temp).resolve() / "cmake"
            subprocess.run(["cmake", "-S", str(HERE), "-B", str(build), "-DCMAKE_BUILD_TYPE=Release",
                            f"-DPython3_EXECUTABLE={sys.executable}"], check=True)
            staged = build / "packages"
        subprocess.run(["cmake", "--build", str(build), "--target", "geokern_python",
                        "-j", str(os.cpu_count() or 1)], check=True)
        target = Path(self.get_ext_fullpath(ext.name)).parent.parent
        for path in staged.rglob("*"):
            # the .py files come through build_py
            if path.is_file() and path.suffix not in (".py", ".pyc") and "__pycache__" not in path.parts:
                destination = target / path.relative_to(staged)
                destination.parent.mkdir(parents=True, exist_ok=True)
                shutil.copy2(path, destination)


setup(ext_modules=[Extension("geokern._geokern", sources=[])], cmdclass={"build_ext": CMakeBuild})
