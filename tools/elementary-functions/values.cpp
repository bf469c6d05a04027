// Writes arguments and the engine's results for the accuracy measurement
// (accuracy.py): for each function and range, `count` arguments drawn from a
// fixed sequence, as binary pairs of little-endian doubles (argument, result)
// in one file per function and range.
//   values COUNT DIRECTORY
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "elementaires.h"

namespace {

struct Range {
    const char* name;
    double (*function)(double);
    double low, high;
    bool logarithmic;  // |x| = 10^u, u uniform in [low, high], either sign
    bool positive;
};

const Range RANGES[] = {
    {"sin-pi", elementaires::Sin, -3.141592653589793, 3.141592653589793, false, false},
    {"sin-20", elementaires::Sin, -20.0, 20.0, false, false},
    {"cos-pi", elementaires::Cos, -3.141592653589793, 3.141592653589793, false, false},
    {"cos-20", elementaires::Cos, -20.0, 20.0, false, false},
    {"tan", elementaires::Tan, -1.5707963267948966, 1.5707963267948966, false, false},
    {"atan", elementaires::ArcTangente, -12.0, 12.0, true, false},
    {"atan-3", elementaires::ArcTangente, -3.0, 3.0, false, false},
    {"exp", elementaires::Exp, -40.0, 40.0, false, false},
    {"exp-700", elementaires::Exp, -708.0, 709.0, false, false},
    {"log", elementaires::Log, -12.0, 12.0, true, true},
    {"log-1", elementaires::Log, 0.5, 2.0, false, true},
    {"log-near-1", elementaires::Log, 0.99, 1.01, false, true},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: values COUNT DIRECTORY\n");
        return 2;
    }
    const long count = std::atol(argv[1]);
    for (const Range& range : RANGES) {
        std::mt19937_64 generator(12345);
        std::uniform_real_distribution<double> uniform(range.low, range.high);
        const std::string path = std::string(argv[2]) + "/" + range.name + ".bin";
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) {
            std::perror(path.c_str());
            return 1;
        }
        for (long i = 0; i < count; ++i) {
            double x = uniform(generator);
            if (range.logarithmic) {
                x = std::pow(10.0, x);
                if (!range.positive && (generator() & 1)) x = -x;
            }
            const double pair[2] = {x, range.function(x)};
            std::fwrite(pair, sizeof pair, 1, file);
        }
        std::fclose(file);
    }
    return 0;
}
