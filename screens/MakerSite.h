#pragma once

// Root address of the maker's web site (no trailing slash: pages are appended with "/").
constexpr char kMakerWebSite[] = "http://www.torvane.it";
