#pragma once

#include <optional>
#include <string>
#include <vector>

// Reads the game's constant files the media must agree with, in their XML
// form: top-level elements named by "id", values in "value" or as text.
class ConstantsFile {
public:
    // An absent or unreadable file reads as empty.
    explicit ConstantsFile(const std::string& path);

    bool Exists() const { return exists_; }
    // The entries of the top-level Vector `id` (or of the Vector `id` inside
    // the top-level Node `group`), as numbers; "#" starts hexadecimal.
    std::vector<double> Numbers(const std::string& id, const std::string& group = "") const;
    std::optional<double> Number(const std::string& id, const std::string& group = "") const;
    std::vector<std::string> Strings(const std::string& id) const;
    // The text of the top-level element `id` (a "Text" entry); empty when absent.
    std::string Text(const std::string& id) const;

private:
    struct Element {
        std::string tag;
        std::string id;
        std::string text;
        std::vector<Element> children;
    };
    const Element* Find(const std::string& id, const std::string& group) const;

    bool exists_ = false;
    Element root_;
};
