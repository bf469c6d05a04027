// The coefficient reader on arbitrary file contents (.shc or .COF): a model or
// its reason, never a crash; a model read answers at its first and last
// epochs, and refuses a year before them, without raising.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string>

#include "Declination.h"
#include "Igrf.h"

namespace {

void Verifie(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    CIgrfModel model;
    try {
        model = CIgrfModel::Parse(in);
    } catch (const std::runtime_error&) {
        return 0;
    }
    Verifie(model.MaxDegree() >= 1 && model.MaxDegree() <= kIgrfMaxDegree);
    for (const double dYear : {model.FirstEpoch(), model.LastEpoch(), model.FirstEpoch() - 1.0}) {
        for (const double dLatitude : {48.85, -89.9, 0.0}) {
            const FieldOutcome outcome = FieldAtPlace(&model, dYear, 2.35, dLatitude, 0.0);
            Verifie((outcome.m_eStatus == kDeclinationModelOutOfPeriod) == (dYear < model.FirstEpoch()));
        }
    }
    return 0;
}
