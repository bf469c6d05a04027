#include "Numbers.h"

#include "nombres.h"

namespace programs {

bool ReadNumber(std::string_view text, double* pdValue) {
    return Texte2ReelComplet(text.data(), text.data() + text.size(), pdValue);
}

bool CommaSeparatesFields(std::string_view line) {
    const std::size_t uStart = line.find_first_not_of(" \t");
    if (uStart == std::string_view::npos) return true;
    return line.find_first_of(";\t", uStart) == std::string_view::npos;
}

bool JoinedByDecimalComma(std::string_view between, std::string_view after) {
    return between == "," && !after.empty() && after.front() != ',';
}

}  // namespace programs
