// Game pads that exist only in the kernel (Linux uinput), for the guest tests:
// Wine sees them as real controllers. Takes one command a line on stdin and
// answers one line once the kernel has taken it ("ok ..." or "error: ..."),
// so a test waits for the answer, not for a time. Every frame ends in EV_SYN.
//
//   virtual_pads MIN MAX   every pad's X, Y and Z axes range from MIN to MAX
//
//   plug                   a new pad; answers "ok N" (pads are numbered 1, 2, ...
//                          in the order they were plugged in)
//   unplug N               pad N pulled out (its device destroyed)
//   button N B 0|1         button B (0 to 11: BTN_SOUTH to BTN_START) released or pressed
//   axis N x|y|z VALUE     an axis moved to VALUE (MIN to MAX)
//   hat N X Y              the hat moved to X and Y (-1, 0 or 1 each)
//   rest N                 every button up, the axes in the middle, the hat centred
//
// A pad is named "virtual pad N"; at the end of the input every pad goes.
#include <fcntl.h>
#include <linux/uinput.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kButtons[] = {BTN_SOUTH, BTN_EAST, BTN_C,   BTN_NORTH, BTN_WEST,   BTN_Z,
                            BTN_TL,    BTN_TR,   BTN_TL2, BTN_TR2,   BTN_SELECT, BTN_START};
constexpr int kButtonCount = sizeof(kButtons) / sizeof(kButtons[0]);
constexpr int kSticks[] = {ABS_X, ABS_Y, ABS_Z};

int g_nAxisMin = 0;
int g_nAxisMax = 0;
std::map<int, int> g_Pads;  // pad number -> its uinput file
int g_nLastPad = 0;

std::string Failure(const char* what)
{
    return std::string("error: ") + what + (errno ? std::string(": ") + strerror(errno) : "");
}

input_event Event(int type, int code, int value)
{
    input_event event = {};
    event.type = static_cast<__u16>(type);
    event.code = static_cast<__u16>(code);
    event.value = value;
    return event;
}

// One frame: the events, then the report that makes readers take them together.
bool EmitFrame(int fd, std::vector<input_event> frame)
{
    frame.push_back(Event(EV_SYN, SYN_REPORT, 0));
    const ssize_t size = static_cast<ssize_t>(frame.size() * sizeof(input_event));
    return write(fd, frame.data(), size) == size;
}

std::string PlugPad()
{
    int fd = open("/dev/uinput", O_WRONLY | O_NONBLOCK);
    if (fd < 0)
        return Failure("cannot open /dev/uinput");
    bool ok = ioctl(fd, UI_SET_EVBIT, EV_KEY) == 0 && ioctl(fd, UI_SET_EVBIT, EV_ABS) == 0;
    for (int button : kButtons)
        ok = ok && ioctl(fd, UI_SET_KEYBIT, button) == 0;
    for (int axis : {ABS_X, ABS_Y, ABS_Z, ABS_HAT0X, ABS_HAT0Y})
        ok = ok && ioctl(fd, UI_SET_ABSBIT, axis) == 0;

    int number = g_nLastPad + 1;
    uinput_user_dev dev = {};
    snprintf(dev.name, sizeof(dev.name), "virtual pad %d", number);
    dev.id.bustype = BUS_USB;
    dev.id.vendor = 0x1209;
    // Each pad its own product, so nothing takes two pads for one.
    dev.id.product = static_cast<__u16>(0x0100 + number);
    dev.id.version = 1;
    for (int axis : kSticks) {
        dev.absmin[axis] = g_nAxisMin;
        dev.absmax[axis] = g_nAxisMax;
    }
    for (int axis : {ABS_HAT0X, ABS_HAT0Y}) {
        dev.absmin[axis] = -1;
        dev.absmax[axis] = 1;
    }
    ok = ok && write(fd, &dev, sizeof(dev)) == static_cast<ssize_t>(sizeof(dev)) &&
         ioctl(fd, UI_DEV_CREATE) == 0;
    if (!ok) {
        std::string failure = Failure("cannot create the pad");
        close(fd);
        return failure;
    }
    g_nLastPad = number;
    g_Pads[number] = fd;
    return "ok " + std::to_string(number);
}

void UnplugPad(int fd)
{
    ioctl(fd, UI_DEV_DESTROY);
    close(fd);
}

std::string RunCommand(const std::string& line)
{
    std::istringstream words(line);
    std::string command;
    int pad = 0;
    words >> command;
    if (command == "plug")
        return PlugPad();
    if (!(words >> pad) || !g_Pads.count(pad))
        return "error: no such pad";
    const int fd = g_Pads[pad];
    if (command == "unplug") {
        UnplugPad(fd);
        g_Pads.erase(pad);
        return "ok";
    }
    std::vector<input_event> frame;
    if (command == "button") {
        int button = -1, down = -1;
        if (!(words >> button >> down) || button < 0 || button >= kButtonCount || down < 0 ||
            down > 1)
            return "error: button N B 0|1";
        frame.push_back(Event(EV_KEY, kButtons[button], down));
    } else if (command == "axis") {
        std::string name;
        int value = 0;
        if (!(words >> name >> value) || (name != "x" && name != "y" && name != "z") ||
            value < g_nAxisMin || value > g_nAxisMax)
            return "error: axis N x|y|z VALUE";
        frame.push_back(Event(EV_ABS, kSticks[name[0] - 'x'], value));
    } else if (command == "hat") {
        int x = 2, y = 2;
        if (!(words >> x >> y) || x < -1 || x > 1 || y < -1 || y > 1)
            return "error: hat N X Y";
        frame.push_back(Event(EV_ABS, ABS_HAT0X, x));
        frame.push_back(Event(EV_ABS, ABS_HAT0Y, y));
    } else if (command == "rest") {
        for (int button : kButtons)
            frame.push_back(Event(EV_KEY, button, 0));
        for (int axis : kSticks)
            frame.push_back(Event(EV_ABS, axis, (g_nAxisMin + g_nAxisMax) / 2));
        frame.push_back(Event(EV_ABS, ABS_HAT0X, 0));
        frame.push_back(Event(EV_ABS, ABS_HAT0Y, 0));
    } else {
        return "error: unknown command '" + command + "'";
    }
    return EmitFrame(fd, frame) ? "ok" : Failure("the kernel did not take the events");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || sscanf(argv[1], "%d", &g_nAxisMin) != 1 ||
        sscanf(argv[2], "%d", &g_nAxisMax) != 1 || g_nAxisMin >= g_nAxisMax) {
        fprintf(stderr, "usage: virtual_pads MIN MAX (the axes' range, MIN below MAX)\n");
        return 2;
    }
    std::string line;
    while (std::getline(std::cin, line)) {
        errno = 0;
        std::cout << RunCommand(line) << std::endl;
    }
    for (const auto& pad : g_Pads)
        UnplugPad(pad.second);
    return 0;
}
