#include "DumpShapeProbe.h"

#include "LineChannel.h"
#include "SimulatedProcess.h"

#include "sim/device/DeviceRoot.h"
#include "sim/payload/PayloadLocation.h"
#include "Platform/RegularFile.h"
#include "sim/lumetrix-sim/observe/NodeDumper.h"
#include "sim/lumetrix-sim/observe/SpringBoardObserver.h"
#include "sim/springboardprocess/SpringBoardProcess.h"

#include "Foundation/NSData.h"
#include "MaterialKit/MTMaterialView.h"
#include "SpringBoard/CSHomeAffordanceView.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIFont.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIProgressView.h"
#include "UIKit/UISwipeGestureRecognizer.h"
#include "UIKit/UITapGestureRecognizer.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>

using nlohmann::json;

namespace sim {

namespace {

template<typename T>
objc::RefPtr<T> made()
{
    auto view = T::alloc();
    view->initWithFrame(CGRectMake(0, 0, 10, 10));
    return view;
}

// One node of every kind, with each kind of value the dumper writes (named and plain
// colours, the three forms of image, both recognizers).
json nodeSamples(const std::string& deviceRoot)
{
    NodeIds ids;
    auto plain = made<UIView>();
    // A view a player's property holds says which one.
    NodeDumper dumper(ids, { { plain.get(), "subView" } });
    json nodes = json::array();

    plain->setBackgroundColor(UIColor::whiteColor().get());
    auto tap = UITapGestureRecognizer::alloc();
    tap->initWithTarget(plain.get(), sel_registerName("description"));
    plain->addGestureRecognizer(tap.get());
    auto swipe = UISwipeGestureRecognizer::alloc();
    swipe->initWithTarget(plain.get(), sel_registerName("description"));
    plain->addGestureRecognizer(swipe.get());
    nodes.push_back(dumper.node(plain.get()));
    auto tinted = made<UIView>();
    tinted->setBackgroundColor(UIColor::colorWithRed(0.1, 0.2, 0.3, 1).get());
    nodes.push_back(dumper.node(tinted.get()));

    std::string icon = "/Library/PreferenceBundles/lumetrixpref.bundle/icon.png";
    std::ifstream file(deviceRoot + icon, std::ios::binary);
    std::vector<std::uint8_t> bytes { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
    for (auto image : { UIImage::systemImageNamed("play.fill"), UIImage::imageWithContentsOfFile(NSString::create(icon).get()),
             UIImage::imageWithData(NSData::create(bytes).get()) }) {
        auto view = made<UIImageView>();
        view->setImage(image.get());
        view->setTintColor(UIColor::whiteColor().get());
        nodes.push_back(dumper.node(view.get()));
    }
    auto label = made<UILabel>();
    label->setFont(UIFont::systemFontOfSize(12).get());
    label->setTextColor(UIColor::whiteColor().get());
    nodes.push_back(dumper.node(label.get()));
    auto progress = made<UIProgressView>();
    progress->setProgressTintColor(UIColor::whiteColor().get());
    progress->setTrackTintColor(UIColor::whiteColor().get());
    nodes.push_back(dumper.node(progress.get()));
    nodes.push_back(dumper.node(MTMaterialView::materialViewWithRecipe(1, 1, 1).get()));
    nodes.push_back(dumper.node(made<CSHomeAffordanceView>().get()));
    return nodes;
}

} // namespace

json gatherDumpShapeSamples(const std::filesystem::path& rootFolder)
{
    DeviceRoot root(rootFolder);
    root.install(Artefacts::fromBuild());
    SpringBoardProcess springBoard(root.path().string());
    json report = springBoard.report();

    json lockscreenPlayer = json::array();
    json appPlayer = json::array();
    for (const char* name : SpringBoardObserver::playerPropertyNames()) {
        lockscreenPlayer.push_back(name);
        appPlayer.push_back(name);
    }
    lockscreenPlayer.push_back("homeAffordance");
    return {
        { "nodes", nodeSamples(root.path().string()) },
        { "lockscreenPlayer", lockscreenPlayer },
        { "appPlayer", appPlayer },
        { "globals", report["globals"] },
        { "settings", report["settings"] },
        // The settings dump's own fields (SettingsProcess); its stored values are free.
        { "settingsDump", { { "domain", "" }, { "file", "" }, { "values", json::object() }, { "settingsApp", nullptr } } },
    };
}

namespace {

// The samples the build gathered beside the device package (lumetrix-dump-shape), when
// this payload has them: a run then starts no probe.
std::optional<json> samplesFromPayload()
{
    std::filesystem::path file;
    try {
        file = payload::here().dataFile(kDumpShapeFileName);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    auto read = platform::readRegularFile(file.string(), 16u << 20);
    if (!read.ok())
        return std::nullopt;
    json samples = json::parse(read.bytes.begin(), read.bytes.end(), nullptr, false);
    if (!samples.is_object() || !samples.contains("nodes") || !samples.contains("settings"))
        return std::nullopt;
    return samples;
}

} // namespace

scenario::DumpShape dumpShapeOfThisBuild()
{
    if (auto samples = samplesFromPayload()) {
        try {
            return scenario::DumpShape::fromSamples(*samples);
        } catch (const std::exception&) {
            // A file this build cannot read is gathered again.
        }
    }
    return probeDumpShape();
}

scenario::DumpShape probeDumpShape()
{
    // The probe's device root is made and removed here, by the process that waits for
    // the probe: a probe killed outright leaves nothing behind.
    std::optional<DeviceRoot> root;
    try {
        root.emplace(DeviceRoot::makeTemporary());
    } catch (const std::exception&) {
        throw std::runtime_error("cannot make a temporary device root for the probe of the dumps' shape");
    }
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe to the probe of the dumps' shape");
    std::fflush(nullptr);
    pid_t pid = forkSimulatedProcess();
    if (pid < 0) {
        close(channel[0]);
        close(channel[1]);
        throw std::runtime_error("cannot start the probe of the dumps' shape");
    }
    if (pid == 0) {
        close(channel[0]);
        LineChannel toParent(-1, channel[1]);
        json reply;
        try {
            reply = { { "samples", gatherDumpShapeSamples(root->path()) } };
        } catch (const std::exception& error) {
            reply = { { "error", error.what() } };
        }
        toParent.send(reply);
        std::fflush(nullptr);
        _exit(0);
    }
    close(channel[1]);
    LineChannel fromProbe(channel[0], -1);
    auto reply = fromProbe.receive();
    fromProbe.close();
    int status = 0;
    waitpid(pid, &status, 0);
    forgetProcess(pid);
    root.reset();
    if (!reply || !reply->contains("samples"))
        throw std::runtime_error("cannot read the dumps' shape from the built tweak: "
            + (reply && reply->contains("error") ? (*reply)["error"].get<std::string>() : std::string("the probe stopped")));
    return scenario::DumpShape::fromSamples((*reply)["samples"]);
}

} // namespace sim
