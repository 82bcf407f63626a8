"""The files Setup.exe installs and Uninstall.exe removes, written out again for the tests to hold both to."""


def installed_files():
    """The 112 files, relative and with backslashes, in the order the uninstaller's list names them."""
    moons = sorted(str(age) for age in range(28))
    res = "\\Contents\\Resources\\"
    files = ["\\Contents\\License.txt"]
    files += [res + "Big\\" + n + ".png" for n in (
        "Clouds", "Earth", "Few Clouds", "Flurries", "Fog", "Hail", "Haze", "Ice", "Many Clouds", "None", "Rain",
        "Showers", "Snow", "Snowy Rain", "Sun", "Thunderstorms", "Wind")]
    files += [res + "Colorize\\" + n + ".png" for n in ("Base Overlay", "Base", "Mid Overlay", "Mid", "Top Overlay",
                                                        "Top")]
    files += [res + "Moons\\" + n + ".png" for n in moons]
    files += [res + "Tiny\\" + n + ".png" for n in ("Clouds", "Flurries", "Fog", "Hail", "Ice", "Moon And Clouds",
                                                    "Moon And Rain", "Moon Few Clouds", "Moon Haze", "Moon")]
    files += [res + "Tiny\\Moons\\" + n + ".png" for n in moons]
    files += [res + "Tiny\\" + n + ".png" for n in (
        "None", "Rain", "Showers", "Snow", "Snowy Rain", "Sun And Clouds", "Sun And Rain", "Sun Few Clouds", "Sun Haze",
        "Sun",
        "Sunny Thunderstorms", "Thunderstorms", "Wind")]
    files += [res + "UI\\" + n + ".png" for n in ("Close", "Grid", "Less", "Options", "Reflection")]
    return files + ["\\Nimbo.exe", "\\License.txt", "\\Options.ini", "\\Uninstall.exe"]


FOLDERS = ["\\Contents", "\\Contents\\Resources", "\\Contents\\Resources\\Big", "\\Contents\\Resources\\Colorize",
           "\\Contents\\Resources\\Moons", "\\Contents\\Resources\\Tiny", "\\Contents\\Resources\\Tiny\\Moons",
           "\\Contents\\Resources\\UI"]
