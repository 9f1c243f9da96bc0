#pragma once
// The publisher's web site: the one place to change when it moves.
#include <string>

namespace tintal {

inline const std::string kPublisherName = "Tintal - horloge parlante pour radioamateurs";
inline const std::string kPublisherAuthor = "Les auteurs de Tintal";
inline const std::string kPublisherSite = "https://tintal.example.net";
inline const std::string kVersionsAddress = kPublisherSite + "/index_fichiers/versions.txt";
inline const std::string kDownloadPage = kPublisherSite + "/telechargement.html";

}  // namespace tintal
