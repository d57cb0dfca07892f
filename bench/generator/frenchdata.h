#pragma once

#include <string>
#include <vector>

namespace ravelin::bench {

// Places, names and words of a wood trader of Burgundy and its neighbours. No text holds an
// apostrophe: the program refuses apostrophes in lot places, owner names and the like.
struct Commune
{
    const char *name;
    const char *cp;
    double latitude;
    double longitude;
};

struct ForeignTown
{
    const char *name;
    const char *cp;
    const char *country;
    const char *vatPrefix;
};

const std::vector<Commune> &communes();         // the forest area: lots, owners, most customers
const std::vector<ForeignTown> &foreignTowns(); // export customers
const std::vector<std::string> &surnames();
const std::vector<std::string> &maleFirstNames();
const std::vector<std::string> &femaleFirstNames();
const std::vector<std::string> &placeNames(); // lieux-dits of the parcels
const std::vector<std::string> &streets();    // street names, without number
const std::vector<std::string> &jobTitles();

} // namespace ravelin::bench
