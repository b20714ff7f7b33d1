// Writes one value of every kind the settings store keeps, as the program
// does, so a script can look at them with Wine's own registry tool.
#include "OrvFavorites.h"
#include "OrvRegistry.h"

int main() {
    OrvRegistry registry;
    registry.SetVersion("0.1.0");
    registry.SetUrl("http://127.0.0.1:8080/");
    registry.SetSkinbase("C:\\Orvane\\Skins\\");
    registry.SetSkindir("C:\\Orvane\\Skins\\Classic\\");
    registry.SetSoundbase("C:\\Orvane\\Sounds\\");
    registry.SetSounddir("C:\\Orvane\\Sounds\\Default\\");
    registry.SetOrvStatus(1);
    registry.SetUserColor('A');
    registry.SetStatistic(true);
    registry.SetNotifications(false);
    registry.SetEmail("demo@orvane.example");
    registry.SetSerkey("pw-1234");
    registry.Register();
    OrvFavorites favorites;
    favorites.Add(OrvFavorites::MakeItem("O17", "Anna Berg"));
    favorites.Save();
    return registry.GetEmail() == "demo@orvane.example" ? 0 : 1;
}
