#include "mediagen/MapPlan.h"

#include <charconv>
#include <set>
#include <sstream>
#include <stdexcept>

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream stream(line.substr(0, line.find('#')));
    std::vector<std::string> words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

class PlanReader {
public:
    MapPlan Read(const std::string& text) {
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            ++lineNumber_;
            const std::vector<std::string> words = Words(line);
            if (!words.empty()) {
                ReadLine(words);
            }
        }
        return std::move(plan_);
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw std::runtime_error("map plan line " + std::to_string(lineNumber_) + ": " + what);
    }

    int Number(const std::string& word) const {
        int value = 0;
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (error != std::errc() || end != word.data() + word.size()) {
            Fail("not a whole number: " + word);
        }
        return value;
    }

    PlanSection& Current() {
        if (plan_.sections.empty()) {
            Fail("a city or track before the first section");
        }
        return plan_.sections.back();
    }

    int CityIndex(const std::string& name) {
        const std::vector<PlanCity>& cities = Current().cities;
        for (size_t i = 0; i < cities.size(); ++i) {
            if (cities[i].name == name) {
                return static_cast<int>(i);
            }
        }
        Fail("no city " + name + " in this section");
    }

    void ReadLine(const std::vector<std::string>& words) {
        const std::string& word = words[0];
        if (word == "section" && words.size() == 2) {
            plan_.sections.push_back({words[1], {}, {}, -1, -1});
        } else if (word == "city" && (words.size() == 4 || words.size() == 5)) {
            ReadCity(words);
        } else if (word == "track" && (words.size() == 3 || words.size() == 4)) {
            ReadTrack(words);
        } else {
            Fail("not understood: " + word);
        }
    }

    void ReadCity(const std::vector<std::string>& words) {
        PlanSection& section = Current();
        if (!names_.insert(words[1]).second) {
            Fail("city named twice: " + words[1]);
        }
        section.cities.push_back({words[1], Number(words[2]), Number(words[3])});
        const int index = static_cast<int>(section.cities.size()) - 1;
        if (words.size() == 5) {
            if (words[4] != "enter" && words[4] != "leave") {
                Fail("not a city role: " + words[4]);
            }
            int& role = words[4] == "enter" ? section.enter : section.leave;
            if (role != -1) {
                Fail("a second " + words[4] + " city");
            }
            role = index;
        }
    }

    void ReadTrack(const std::vector<std::string>& words) {
        const int a = CityIndex(words[1]);
        const int b = CityIndex(words[2]);
        if (a == b) {
            Fail("a track from a city to itself");
        }
        if (words.size() == 4 && words[3] != "unlocked") {
            Fail("not a track flag: " + words[3]);
        }
        for (const PlanTrack& track : Current().tracks) {
            if ((track.city0 == a && track.city1 == b) || (track.city0 == b && track.city1 == a)) {
                Fail("track given twice");
            }
        }
        Current().tracks.push_back({a, b, words.size() == 4});
    }

    MapPlan plan_;
    std::set<std::string> names_;
    int lineNumber_ = 0;
};

}  // namespace

MapPlan ParseMapPlan(const std::string& text) { return PlanReader().Read(text); }

std::string MapPlanFile(const std::string& mediaSource) { return mediaSource + "/src/map/plan.txt"; }
