#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

namespace ravelin::bench {

// The generator's random numbers. The engine is std::mt19937_64, whose sequence the standard
// fixes; every distribution is written here, because those of the standard library may give
// other values with another library version. The same seed thus gives the same company.
class Rng
{
public:
    explicit Rng(std::uint64_t seed) : m_engine(seed) {}

    // A stream of its own for one part of the company, so that a change in how lots are drawn
    // does not move every order and delivery drawn after them.
    static Rng stream(std::uint64_t seed, std::string_view part, std::uint64_t index = 0)
    {
        std::uint64_t h = 1469598103934665603ull; // FNV-1a of the part's name
        for (char c : part) {
            h ^= static_cast<unsigned char>(c);
            h *= 1099511628211ull;
        }
        return Rng(mix(seed ^ mix(h) ^ mix(index * 0x9E3779B97F4A7C15ull + 1)));
    }

    static std::uint64_t mix(std::uint64_t x)
    {
        x += 0x9E3779B97F4A7C15ull;
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
        return x ^ (x >> 31);
    }

    std::uint64_t next() { return m_engine(); }

    // Uniform in [0, 1).
    double real() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    double range(double lo, double hi) { return lo + (hi - lo) * real(); }
    bool chance(double p) { return real() < p; }

    // Uniform integer in [0, n).
    std::uint64_t below(std::uint64_t n)
    {
        if (n <= 1) return 0;
        return static_cast<std::uint64_t>((static_cast<unsigned __int128>(next()) * n) >> 64);
    }
    // Uniform integer in [lo, hi].
    int between(int lo, int hi)
    {
        return hi <= lo ? lo : lo + static_cast<int>(below(static_cast<std::uint64_t>(hi - lo) + 1));
    }

    double normal(double mean, double sd)
    {
        double u1 = real();
        if (u1 < 1e-300) u1 = 1e-300;
        const double u2 = real();
        return mean + sd * std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
    }
    // Log-normal with the given median and spread (sigma of the logarithm).
    double lognormal(double median, double sigma) { return median * std::exp(normal(0.0, sigma)); }

    template <typename T> const T &pick(const std::vector<T> &values) { return values[below(values.size())]; }

    // Index drawn with the weights given as a running total (cumulative[i] = w0 + ... + wi).
    std::size_t weighted(const std::vector<double> &cumulative)
    {
        if (cumulative.empty()) return 0;
        const double x = real() * cumulative.back();
        std::size_t lo = 0, hi = cumulative.size() - 1;
        while (lo < hi) {
            const std::size_t mid = (lo + hi) / 2;
            if (cumulative[mid] > x) hi = mid;
            else lo = mid + 1;
        }
        return lo;
    }

private:
    std::mt19937_64 m_engine;
};

// Running totals of weights, for Rng::weighted.
inline std::vector<double> cumulate(const std::vector<double> &weights)
{
    std::vector<double> out(weights.size());
    double total = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) out[i] = (total += weights[i]);
    return out;
}

} // namespace ravelin::bench
