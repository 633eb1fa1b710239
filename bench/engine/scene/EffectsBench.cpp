// The effect sprites in a scene: an additive sprite drawn over a whole 800 x
// 600 picture against pixman's ADD on the same pictures (the ratio is printed
// after the table), and a frame of a particle engine keeping 1,000 additive
// particles alive: emitting, stepping their flights, drawing and sweeping.

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/AnimationTree.h"
#include "engine/scene/DeletePass.h"
#include "engine/scene/GameNode.h"
#include "engine/scene/Particle.h"
#include "engine/scene/ParticleEngine.h"
#include "engine/scene/RenderPass.h"
#include "engine/scene/UpdatePass.h"
#include "support/RecordingReporter.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kFrameMs = 16;
constexpr int kSparkSize = 16;

// A picture of `size` with an opaque centre, a soft rim and transparent corners.
Ref<MemorySurface> Glow(int width, int height, double inner, double outer) {
    Ref<MemorySurface> image = CreateMemorySurface(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double distance = std::hypot(x + 0.5 - width / 2.0, y + 0.5 - height / 2.0);
            const double rim = std::clamp((outer - distance) / (outer - inner), 0.0, 1.0);
            const auto alpha = static_cast<uint32_t>(rim * 255.0);
            const uint32_t colour = static_cast<uint32_t>((x * 7 + y * 3) & 0xFF) << 16 |
                                    static_cast<uint32_t>((x * 5) & 0xFF) << 8 | static_cast<uint32_t>((y * 11) & 0xFF);
            image->Pixels32()[image->PixelIndex(x, y)] = alpha << 24 | colour;
        }
    }
    return image;
}

Ref<MemorySurface> Background() {
    Ref<MemorySurface> image = CreateMemorySurface(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            image->Pixels32()[image->PixelIndex(x, y)] = 0xFF000000u | static_cast<uint32_t>((x + y) & 0x7F) << 16 |
                                                         static_cast<uint32_t>((x ^ y) & 0x7F) << 8 |
                                                         static_cast<uint32_t>((y * 3) & 0x7F);
        }
    }
    return image;
}

// ---- additive sprite over the whole picture ----
struct SpriteScene {
    Ref<MemorySurface> background = Background();
    Ref<MemorySurface> picture = Glow(kWidth, kHeight, 200.0, 290.0);
    Ref<Canvas> canvas = background->CreateCanvas();
    Ref<AdditiveSprite> sprite{new AdditiveSprite(0, 0, picture.Get())};
    pixman_image_t* pixmanPicture =
        pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, picture->Pixels32(), kWidth * 4);
    pixman_image_t* pixmanBackground =
        pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, background->Pixels32(), kWidth * 4);

    SpriteScene() = default;
    SpriteScene(const SpriteScene&) = delete;
    SpriteScene& operator=(const SpriteScene&) = delete;
    ~SpriteScene() {
        pixman_image_unref(pixmanPicture);
        pixman_image_unref(pixmanBackground);
    }
};

SpriteScene& Sprites() {
    static SpriteScene scene;
    return scene;
}

void Ours_AdditiveSprite(benchmark::State& state) {
    SpriteScene& scene = Sprites();
    for (auto _ : state) {
        scene.sprite->Draw(*scene.canvas);
        benchmark::ClobberMemory();
    }
}

// The picture as its own mask, as ours weighs it by its own alpha.
void Pixman_AdditiveSprite(benchmark::State& state) {
    SpriteScene& scene = Sprites();
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_ADD, scene.pixmanPicture, scene.pixmanPicture, scene.pixmanBackground, 0, 0,
                                 0, 0, 0, 0, kWidth, kHeight);
        benchmark::ClobberMemory();
    }
}

// ---- particles ----
Object* CreateSpark(Property*) {
    static const Ref<MemorySurface> spark = Glow(kSparkSize, kSparkSize, 3.0, 8.0);
    auto* particle = new AdditiveParticle;
    particle->SetImage(spark.Get());
    return particle;
}

// One particle a millisecond, each living a second: 1,000 alive at any time.
constexpr const char* kEngineDefinition =
    "<root><ParticleEngine id=\"sparks\" x=\"400\" y=\"300\" CoordinateSystem=\"relative\" ParticleInterval=\"1\" "
    "ParticleDuration=\"1000\" FadeInDuration=\"-1\" FadeOutDuration=\"-1\" MinStartSpeedX=\"-5\" "
    "MaxStartSpeedX=\"5\" MinStartSpeedY=\"-8\" MaxStartSpeedY=\"2\" GravityY=\"0.3\" FrictionX=\"0.01\">"
    "<Vector id=\"particles\"><BenchSpark/></Vector></ParticleEngine></root>";

struct ParticleScene {
    Ref<MemorySurface> screen = Background();
    Ref<Canvas> canvas = screen->CreateCanvas();
    Ref<GameNode> root{new GameNode};
    Ref<AnimationTree> tree{new AnimationTree};

    ParticleScene() {
        RandomGenerator::SetGlobal(new RandomGenerator(1234, 0));
        ClassFactory::Instance().Register("BenchSpark", CreateSpark);
        Ref<PropertyFile> file(new PropertyFile);
        const std::string xml = kEngineDefinition;
        file->LoadFromMemory(xml.data(), xml.size(), "bench");
        Ref<Object> built(ClassFactory::Instance().Create(Property::Child(file.Get(), "sparks")));
        auto* engine = ObjectCast<ParticleEngine>(built.Get());
        engine->SetAnimationEntry(tree.Get());
        root->AddChild(engine);
        // Fill the scene up to its steady count before anything is measured.
        for (int frame = 0; frame < 1200 / kFrameMs; ++frame) {
            Frame();
        }
    }

    void Frame() {
        UpdatePass::StepNodeTree(*root, kFrameMs);
        tree->UpdateTree(kFrameMs);
        RenderPass::DrawNodeTree(*canvas, *root);
        DeletePass::SweepNodeTree(*root);
        tree->DeleteFinished();
    }

    int LiveParticles() const {
        int count = 0;
        for (const GameNode* node = root->GetFirstChild()->GetFirstChild(); node != nullptr;
             node = node->GetNextSibling()) {
            ++count;
        }
        return count;
    }
};

void ParticleFrame(benchmark::State& state) {
    static ParticleScene scene;
    for (auto _ : state) {
        scene.Frame();
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::to_string(scene.LiveParticles()) + " particles per frame");
}


}  // namespace

BENCHMARK(Ours_AdditiveSprite);
BENCHMARK(Pixman_AdditiveSprite);
BENCHMARK(ParticleFrame)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double ours = reporter.Time("Ours_AdditiveSprite");
    const double pixman = reporter.Time("Pixman_AdditiveSprite");
    std::printf("\n%-16s %12s\n%-16s %12.2f\n", "operation", "ours/pixman", "AdditiveSprite",
                pixman > 0 ? ours / pixman : 0.0);
    benchmark::Shutdown();
    return 0;
}
