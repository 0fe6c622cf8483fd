#pragma once
// A review page: every generated picture on one sheet with its name.
#include <string>

namespace assetgen {

class Output;

bool WriteContactSheet(const Output& pictures, const std::string& file);

}  // namespace assetgen
