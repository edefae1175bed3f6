// SPDX-License-Identifier: GPL-3.0-or-later
// Anchor of the resource library; the pictures themselves are compiled in by CMake.
namespace kavi {
int resourcesLinked() { return 1; }
} // namespace kavi
