#include "SoundCatalogue.h"

#include "BounceEffect.h"
#include "CutWebEffect.h"
#include "EnemySpawnEffect.h"
#include "FlyBuzzEffect.h"
#include "PlayerFallEffect.h"
#include "PointsGainedEffect.h"
#include "RepairRopeEffect.h"
#include "SaucerSpawnEffect.h"
#include "ShiftEffect.h"
#include "SilkChargedEffect.h"
#include "SlurpEffect.h"
#include "ThemeTune.h"
#include "TitleTune.h"

namespace synth {

std::vector<std::unique_ptr<SoundPiece>> SoundCatalogue::all() {
    std::vector<std::unique_ptr<SoundPiece>> pieces;
    pieces.push_back(std::make_unique<FlyBuzzEffect>());
    pieces.push_back(std::make_unique<RepairRopeEffect>());
    pieces.push_back(std::make_unique<PointsGainedEffect>());
    pieces.push_back(std::make_unique<SilkChargedEffect>());
    pieces.push_back(std::make_unique<EnemySpawnEffect>());
    pieces.push_back(std::make_unique<CutWebEffect>());
    pieces.push_back(std::make_unique<PlayerFallEffect>());
    pieces.push_back(std::make_unique<ShiftEffect>());
    pieces.push_back(std::make_unique<BounceEffect>());
    pieces.push_back(std::make_unique<SlurpEffect>());
    pieces.push_back(std::make_unique<SaucerSpawnEffect>());
    pieces.push_back(std::make_unique<ThemeTune>());
    pieces.push_back(std::make_unique<TitleTune>());
    return pieces;
}

} // namespace synth
