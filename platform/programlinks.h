// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace ruvo {

// The maker's web page, opened from the menu and the about box, and the address users write
// to with their questions.
inline constexpr char kWebSiteAddress[] = "https://www.example.org/ruvo/";
inline constexpr char kContactAddress[] = "ruvo@example.org";
// The maker's other program, offered from the menu and the about box.
inline constexpr char kSiblingProgram[] = "tandrel.exe";

} // namespace ruvo
