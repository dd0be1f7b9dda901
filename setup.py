"""Builds the package tarn with CMake: the extension module, the decoder
plug-in, libquill_base and the PDF module, installed by the CMake component
python into the package folder. Needs cmake, ninja, a C++17 compiler,
pybind11-dev and the image libraries the engine reads with; downloads
nothing."""

import os
import re
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = Path(__file__).resolve().parent


class CMakeExtension(Extension):
    """The module tarn._tarn, built by CMake rather than by setuptools."""

    def __init__(self, name: str) -> None:
        super().__init__(name, sources=[])


class cmake_build_ext(build_ext):
    """Configures, builds and installs the component python."""

    def build_extension(self, ext: Extension) -> None:
        package = Path(self.get_ext_fullpath(ext.name)).resolve().parent
        build = Path(self.build_temp).resolve() / "cmake"
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL",
                              str(self.parallel or os.cpu_count() or 1))
        commands = [
            ["cmake", "-S", str(ROOT), "-B", str(build), "-G", "Ninja",
             "-DCMAKE_BUILD_TYPE=Release", "-DBUILD_TESTING=OFF",
             "-DTARN_PYTHON_INSTALL_DIR=tarn",
             f"-DPython3_EXECUTABLE={sys.executable}"],
            ["cmake", "--build", str(build), "--target", "tarn_python",
             "-j", jobs],
            # into <prefix>/tarn, the package folder
            ["cmake", "--install", str(build), "--component", "python",
             "--prefix", str(package.parent)],
        ]
        for command in commands:
            subprocess.run(command, check=True)


def version() -> str:
    """The project's version, from the root CMakeLists.txt."""
    text = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"project\(\w+\s+VERSION\s+([\d.]+)", text).group(1)


setup(version=version(),
      packages=["tarn"],
      package_dir={"": "python"},
      package_data={"tarn": ["py.typed", "*.pyi"]},
      ext_modules=[CMakeExtension("tarn._tarn")],
      cmdclass={"build_ext": cmake_build_ext})
