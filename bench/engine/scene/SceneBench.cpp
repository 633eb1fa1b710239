// One frame of a busy scene, 300 sprites each with a running modifier, against
// the same blits issued straight to the canvas. After the usual table it
// prints the frame's processor time divided by that of its blits issued
// directly, measured interleaved.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/AnimationTree.h"
#include "engine/scene/DeletePass.h"
#include "engine/scene/GameNode.h"
#include "engine/scene/ModifierCircle.h"
#include "engine/scene/ModifierFollowPath.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierPulse.h"
#include "engine/scene/ModifierRotate.h"
#include "engine/scene/ModifierRotateScale.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/RenderPass.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/UpdatePass.h"

namespace {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kSprites = 300;
constexpr int kGroups = 10;
constexpr int kFrameMs = 16;
constexpr int kStripFrames = 4;
// Two turns of the spinning sprites: the direct blits replay this many
// recorded frames, so that both sides draw the same spread of angles.
constexpr int kRecordedFrames = 375;
// Long enough that no tween ends while the benchmark runs.
constexpr int kForeverMs = 1'000'000'000;

enum class Kind { kPlain, kAlpha, kRotated };

// A strip of `frames` square pictures: opaque ones cover the square, the
// others are discs with a soft rim and transparent corners.
Ref<MemorySurface> MakeImage(int size, int frames, bool withAlpha) {
    Ref<MemorySurface> image = CreateMemorySurface(size * frames, size);
    image->SetUseAlphaChannel(withAlpha);
    const double centre = size / 2.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size * frames; ++x) {
            const int frame = x / size;
            const double distance = std::hypot(x % size + 0.5 - centre, y + 0.5 - centre);
            const double rim = std::clamp((centre - distance) / 4.0, 0.0, 1.0);
            const uint32_t alpha = withAlpha ? static_cast<uint32_t>(rim * 255.0) : 255u;
            const uint32_t colour = static_cast<uint32_t>((x * 5 + frame * 60) & 0xFF) << 16 |
                                    static_cast<uint32_t>((y * 3) & 0xFF) << 8 | static_cast<uint32_t>(frame * 50);
            image->Pixels32()[image->PixelIndex(x, y)] = alpha << 24 | colour;
        }
    }
    return image;
}

// What a sprite draws, for issuing the same blit without the scene.
struct DirectBlit {
    Surface* image;
    int32_t x, y;
    Rect source;
    int32_t alpha;
    float rotation, scale;
    int32_t pivotX, pivotY;
};

struct BusyScene {
    Ref<MemorySurface> screen = CreateMemorySurface(kScreenWidth, kScreenHeight);
    Ref<Canvas> canvas = screen->CreateCanvas();
    Ref<GameNode> root{new GameNode};
    Ref<AnimationTree> tree{new AnimationTree};
    std::map<int, Ref<MemorySurface>> images;
    std::vector<Sprite*> sprites;
    Ref<Path> loop{new Path};

    BusyScene() {
        for (const PointF p : {PointF{0, 0}, PointF{40, 0}, PointF{40, 30}, PointF{0, 30}, PointF{0, 0}}) {
            loop->Append(p);
        }
        std::vector<GameNode*> groups;
        for (int g = 0; g < kGroups; ++g) {
            auto* group = new GameNode;
            group->SetPosition((g % 5) * 150, (g / 5) * 280);
            root->AddChild(group);
            groups.push_back(group);
        }
        for (int i = 0; i < kSprites; ++i) {
            AddSprite(i, *groups[static_cast<size_t>(i % kGroups)]);
        }
        // Let every modifier take hold before anything is measured.
        for (int frame = 0; frame < 10; ++frame) {
            Frame();
        }
    }

    Surface* Image(int size, int frames, bool withAlpha) {
        Ref<MemorySurface>& image = images[size * 100 + frames * 10 + (withAlpha ? 1 : 0)];
        if (!image) {
            image = MakeImage(size, frames, withAlpha);
        }
        return image.Get();
    }

    void AddSprite(int i, GameNode& group) {
        const Kind kind = static_cast<Kind>(i % 3);
        const int size = 32 + (i * 16) % 112;  // 32 to 128
        const bool framed = i % 4 == 0;
        const int frames = framed ? kStripFrames : 1;
        auto* sprite = new Sprite((i * 37) % 180, (i * 53) % 300, Image(size, frames, kind != Kind::kPlain));
        group.AddChild(sprite);
        if (framed) {
            sprite->SetFrameCount(kStripFrames, true);
            sprite->AddModifier(new ModifierFrame(ModifierFrame::kEndless, 80));
        }
        Modifier* running = nullptr;
        switch (kind) {
            case Kind::kPlain:
                if (i % 2 == 0) {
                    ModifierCircle::Settings circle;
                    circle.centreX = sprite->GetX();
                    circle.centreY = sprite->GetY();
                    circle.startRadius = circle.endRadius = 12.0f;
                    circle.radiusDurationMs = 1;
                    circle.endAngle = 2000.0f * std::numbers::pi_v<float>;
                    circle.angleDurationMs = kForeverMs;
                    running = new ModifierCircle(circle);
                } else {
                    running = new ModifierFollowPath(loop.Get(), 0, kForeverMs);
                }
                break;
            case Kind::kAlpha:
                if (i % 2 == 0) {
                    running = new ModifierPulse(
                        96, 255, {.rampUpMs = 400, .rampDownMs = 400, .holdSecondMs = 100, .holdFirstMs = 100}, 0);
                } else {
                    running = new ModifierValue(250, 100, kForeverMs / 1000);
                }
                break;
            case Kind::kRotated:
                sprite->SetAnchorKind(Sprite::kCenter);
                if (i % 2 == 0) {
                    running = new ModifierRotate(3000, 0.1f);
                } else {
                    running = new ModifierRotateScale(0.2f, 60.0f, 0.8f, 1.2f, kForeverMs);
                }
                break;
        }
        // Every tenth sprite is driven from the animation tree instead of its own list.
        if (i % 10 == 9) {
            AnimationTree::Add(tree.Get(), running, sprite);
        } else {
            sprite->AddModifier(running);
        }
        sprites.push_back(sprite);
    }

    void Frame() {
        UpdatePass::StepNodeTree(*root, kFrameMs);
        tree->UpdateTree(kFrameMs);
        RenderPass::DrawNodeTree(*canvas, *root);
        DeletePass::SweepNodeTree(*root);
        tree->DeleteFinished();
    }

    std::vector<DirectBlit> Snapshot() const {
        std::vector<DirectBlit> blits;
        for (const Sprite* sprite : sprites) {
            const Rect source = sprite->GetSourceRect() ? *sprite->GetSourceRect()
                                                        : Rect{0, 0, sprite->GetWidth(), sprite->GetHeight()};
            blits.push_back({sprite->GetImage(),
                             sprite->GetParentAbsoluteX() + sprite->GetX() - RoundToInt(sprite->GetAnchorX()),
                             sprite->GetParentAbsoluteY() + sprite->GetY() - RoundToInt(sprite->GetAnchorY()), source,
                             sprite->GetAlpha(), sprite->GetRotation(), sprite->GetScale(),
                             RoundToInt(sprite->GetPivotX()), RoundToInt(sprite->GetPivotY())});
        }
        return blits;
    }
};

BusyScene& Shared() {
    static BusyScene scene;
    return scene;
}

void SceneFrame(benchmark::State& state) {
    BusyScene& scene = Shared();
    for (auto _ : state) {
        scene.Frame();
        benchmark::ClobberMemory();
    }
}

// The update, animation tree and delete passes alone.
void SceneStepsOnly(benchmark::State& state) {
    BusyScene& scene = Shared();
    for (auto _ : state) {
        UpdatePass::StepNodeTree(*scene.root, kFrameMs);
        scene.tree->UpdateTree(kFrameMs);
        DeletePass::SweepNodeTree(*scene.root);
        scene.tree->DeleteFinished();
        benchmark::ClobberMemory();
    }
}

enum Selection { kAllBlits = 0, kPlainBlits = 1, kTurnedBlits = 2 };

bool IsTurned(const DirectBlit& b) {
    return b.rotation != 0.0f || b.scale != 1.0f;
}

void DrawDirectly(Canvas& canvas, const std::vector<DirectBlit>& blits) {
    for (const DirectBlit& b : blits) {
        canvas.SetAlpha(b.alpha);
        if (!IsTurned(b)) {
            canvas.Blit(*b.image, b.x, b.y, b.source);
        } else {
            canvas.RotateScaleBlit(*b.image, b.rotation, b.scale, b.x, b.y, b.source.x, b.source.y, b.source.w,
                                   b.source.h, b.pivotX, b.pivotY);
        }
    }
    canvas.SetAlpha(255);
}

// The blits of successive frames, recorded once (stepping the scene) and
// replayed in turn.
const std::vector<std::vector<DirectBlit>>& RecordedFrames() {
    static const std::vector<std::vector<DirectBlit>> frames = [] {
        BusyScene& scene = Shared();
        std::vector<std::vector<DirectBlit>> recorded;
        for (int frame = 0; frame < kRecordedFrames; ++frame) {
            UpdatePass::StepNodeTree(*scene.root, kFrameMs);
            scene.tree->UpdateTree(kFrameMs);
            recorded.push_back(scene.Snapshot());
        }
        return recorded;
    }();
    return frames;
}

// Argument: every sprite's blit, or (to show where the time goes) only the
// plain ones or only the turned and scaled ones.
void DirectBlits(benchmark::State& state) {
    BusyScene& scene = Shared();
    std::vector<std::vector<DirectBlit>> frames = RecordedFrames();
    const auto selection = static_cast<Selection>(state.range(0));
    if (selection != kAllBlits) {
        for (std::vector<DirectBlit>& blits : frames) {
            std::erase_if(blits, [&](const DirectBlit& b) { return IsTurned(b) != (selection == kTurnedBlits); });
        }
    }
    state.SetLabel(std::to_string(frames[0].size()) + " sprites");
    Canvas& canvas = *scene.canvas;
    size_t frame = 0;
    for (auto _ : state) {
        DrawDirectly(canvas, frames[frame]);
        frame = (frame + 1) % frames.size();
        benchmark::ClobberMemory();
    }
}

// Each iteration draws a scene frame, then issues the very blits of that frame
// directly, timing both halves in processor time; their ratio over the whole
// run is the "ratio" counter. Interleaving keeps a busy machine's changing
// load from favouring either side.
void FrameOverDirect(benchmark::State& state) {
    BusyScene& scene = Shared();
    std::clock_t frameTicks = 0;
    std::clock_t directTicks = 0;
    for (auto _ : state) {
        const std::clock_t start = std::clock();
        scene.Frame();
        const std::clock_t framed = std::clock();
        const std::vector<DirectBlit> blits = scene.Snapshot();
        const std::clock_t direct = std::clock();
        DrawDirectly(*scene.canvas, blits);
        benchmark::ClobberMemory();
        frameTicks += framed - start;
        directTicks += std::clock() - direct;
    }
    state.counters["ratio"] =
        directTicks > 0 ? static_cast<double>(frameTicks) / static_cast<double>(directTicks) : 0.0;
    state.counters["frame_us"] =
        1e6 * static_cast<double>(frameTicks) / CLOCKS_PER_SEC / static_cast<double>(state.iterations());
    state.counters["direct_us"] =
        1e6 * static_cast<double>(directTicks) / CLOCKS_PER_SEC / static_cast<double>(state.iterations());
}

// Keeps the counters of the interleaved run (their median when repeated)
// for the summary line.
class CounterReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool interleaved = run.run_name.function_name == "FrameOverDirect";
            if (interleaved && (run.aggregate_name == "median" || (run.aggregate_name.empty() && counters_.empty()))) {
                for (const auto& [name, counter] : run.counters) {
                    counters_[name] = counter.value;
                }
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double Counter(const std::string& name) const {
        const auto found = counters_.find(name);
        return found == counters_.end() ? 0.0 : found->second;
    }

private:
    std::map<std::string, double> counters_;
};

}  // namespace

BENCHMARK(FrameOverDirect)->Unit(benchmark::kMicrosecond);
BENCHMARK(SceneFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(SceneStepsOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(DirectBlits)->Arg(kAllBlits)->Arg(kPlainBlits)->Arg(kTurnedBlits)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    CounterReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (reporter.Counter("ratio") > 0) {
        std::printf("\nscene frame / direct blits, interleaved, processor time: %.3f (frame %.1f us, direct %.1f us)\n",
                    reporter.Counter("ratio"), reporter.Counter("frame_us"), reporter.Counter("direct_us"));
    }
    benchmark::Shutdown();
    return 0;
}
