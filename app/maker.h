// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The maker's own addresses, used by "Report A Bug", "Visit Website" and the update check.
namespace kavi::maker {

inline constexpr const char* kSupportEmail = "support@kavi-covers.example";
inline constexpr const char* kWebsite = "https://kavi-covers.example/";
// Base address of the maker's download server (version file and packages).
inline constexpr const char* kServer = "https://kavi-covers.example";
inline constexpr const char* kBugReportSubject = "Kavi 4 Bug Report (Version 4.0.0 Harbor Release)";

} // namespace kavi::maker
