#pragma once

#include <string>

#include "game/rules/GameMode.h"

// The seven kinds of level. Each is built by class name from its saved
// session node (none for a new level) and saves itself under that name.

// One queued word at a time; any dictionary word of its length counts.
class AnagramsGame : public GameMode {
    ENGINE_CLASS(AnagramsGame, GameMode)

public:
    explicit AnagramsGame(Property* session = nullptr);
    void Save(PropertyNode& node) const override;
    void StartLevel(bool resumed) override;
    void DealWord(const std::string& word, bool first) override;
    void JudgeWord() override;
};

// The words of one letter set; only the queued words count.
class ClassicGame : public GameMode {
    ENGINE_CLASS(ClassicGame, GameMode)

public:
    explicit ClassicGame(Property* session = nullptr);
    void Save(PropertyNode& node) const override;
    void StartLevel(bool resumed) override;
    void DealWord(const std::string& word, bool first) override;
    void JudgeWord() override;
};

// Any dictionary word of the letter set, with a joker always in the supply.
class JokerGame : public GameMode {
    ENGINE_CLASS(JokerGame, GameMode)

public:
    explicit JokerGame(Property* session = nullptr);
    void Save(PropertyNode& node) const override;
    void StartLevel(bool resumed) override;
    void DealWord(const std::string& word, bool first) override;
    void GenerateCoals(WordSprite& word) override;
    void JudgeWord() override;
};

// Used letters fall away and new ones come; the letters of the first set
// that every word so far has used make the kept word.
class KeepGame : public GameMode {
    ENGINE_CLASS(KeepGame, GameMode)

public:
    explicit KeepGame(Property* session = nullptr);
    void Save(PropertyNode& node) const override;
    void SetUpWordBar(bool keepWordBar) override;
    void StartLevel(bool resumed) override;
    void DealWord(const std::string& word, bool first) override;
    void JudgeWord() override;
    void ScoreWord(WordSprite& word) override;

    const std::string& KeptWord() const { return keptWord_; }

protected:
    bool HoldsKeptWord() const override { return !keptWord_.empty(); }

private:
    std::string keptWord_;
    // A resumed level goes on with the kept word it saved (or, from a save
    // without one, with the whole letter set).
    bool keptWordRestored_ = false;
};

// The used letters are replaced by new ones.
class ReplaceGame : public GameMode {
    ENGINE_CLASS(ReplaceGame, GameMode)

public:
    explicit ReplaceGame(Property* session = nullptr);
    void Save(PropertyNode& node) const override;
    void StartLevel(bool resumed) override;
    void DealWord(const std::string& word, bool first) override;
    void JudgeWord() override;
};

// The words of the letter set are not shown until found.
class SecretGame : public GameMode {
    ENGINE_CLASS(SecretGame, GameMode)

public:
    explicit SecretGame(Property* session = nullptr);
    void Save(PropertyNode& node) const override;
    void StartLevel(bool resumed) override;
    void DealWord(const std::string& word, bool first) override;
    void JudgeWord() override;
};

// One queued word at a time, some of its letters left free, spelled on the
// slot-machine bar.
class SlotsGame : public GameMode {
    ENGINE_CLASS(SlotsGame, GameMode)

public:
    explicit SlotsGame(Property* session = nullptr);
    void Save(PropertyNode& node) const override;
    void StartLevel(bool resumed) override;
    void DealWord(const std::string& word, bool first) override;
    void JudgeWord() override;
    Ref<WordBar> CreateWordBar(Property* node) const override;
};
