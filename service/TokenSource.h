// Makes the random tokens and identifiers the service hands out.
#pragma once

#include <mutex>
#include <random>
#include <string>

class CTokenSource {
public:
    CTokenSource();
    // A new random text of the given number of lower-case hexadecimal digits.
    std::string next(int digits = 32);

private:
    std::mutex m_mutex;
    std::mt19937_64 m_engine;
};
