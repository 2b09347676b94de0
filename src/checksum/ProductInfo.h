// Facts about the product that its files and its About page show.
#pragma once

namespace quorvix {

// The product's web page, without a scheme: the host, then the path, ending in "/".
inline constexpr const char* ProductWebPage = "www.example.com/quorvix/";

// Where users write for support.
inline constexpr const char* SupportEmail = "support@example.com";

} // namespace quorvix
