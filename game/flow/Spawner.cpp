#include "Spawner.h"

#include "EventStep.h"
#include "GameManager.h"
#include "GiantEnemySpider.h"
#include "Fly.h"
#include "LogManager.h"
#include "Saucer.h"
#include "Web.h"
#include "WebObject.h"

Spawner::Spawner() { setType("Spawner"); }

int Spawner::eventHandler(const bw::Event* event) {
    if (event->getType() == bw::EVENT_TYPE_STEP) spawn();
    return 0;
}

void Spawner::spawn() {
    bw::LogManager& log = bw::LogManager::getInstance();
    const float dt = static_cast<float>(1.0 / bw::GameManager::getInstance().getFrameTime());

    spider_countdown -= dt;
    if (0 >= spider_countdown) {
        new GiantEnemySpider; // the world owns it from here on
        log.writeLog(3, "Spawned Spider");
        restart(spider_interval, spider_countdown);
    }

    fly_countdown -= dt;
    if (0 >= fly_countdown) {
        new Fly;
        log.writeLog(3, "Spawned Fly");
        restart(fly_interval, fly_countdown);
    }

    saucer_countdown -= dt;
    if (0 >= saucer_countdown) {
        // With no interior string left there is nothing to strike: this saucer is skipped.
        const bw::Vector target = Web::getInstance().getRandomIntersection(false);
        if (!(target == NO_POSITION)) {
            new Saucer(target);
            log.writeLog(0, "Spawned Saucer targetting: " + target.toString());
        }
        restart(saucer_interval, saucer_countdown);
    }
}

void Spawner::restart(float& interval, float& countdown) const {
    interval = decay * interval;
    if (min_interval > interval) interval = min_interval;
    countdown = interval;
}
