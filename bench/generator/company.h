#pragma once

#include "day.h"
#include "sqlloader.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ravelin::bench {

struct GeneratorOptions
{
    double scale = 0.1;
    std::uint64_t seed = 42;
    // The last day of the company's history. A fixed date, not today's, so that the same seed
    // and scale give the same rows whatever day the generator runs.
    Day until = Day::fromYmd(2026, 11, 30);
    int years = 20;
};

// How many rows of each kind the scale asks for (scale 1: a regional trader over twenty years).
struct Targets
{
    int lots = 0;
    int logsPerLogLot = 385; // mean; scale 1 gives about 1,500,000 logs
    int contractors = 0;
    int places = 0;
    int chipZones = 0;
    int firewoodZones = 0;
    int orders = 0;
    int deliveries = 0;
    int transfers = 0;
    int invoices = 0;

    static Targets forScale(double scale);
};

// A seeded company: build() draws everything in memory (the logs excepted, which are drawn
// again from their own seeds while they are written), then write() loads it through the loader.
class CompanyGenerator
{
public:
    explicit CompanyGenerator(const GeneratorOptions &options);
    ~CompanyGenerator();

    const Targets &targets() const;

    void build();
    // `progress` receives a line of text after each table.
    void write(Loader &loader, const std::function<void(const std::string &)> &progress);

    // Rows written per table, after write().
    const std::vector<std::pair<std::string, std::int64_t>> &rowsWritten() const;

private:
    struct Model;
    std::unique_ptr<Model> m;
};

} // namespace ravelin::bench
