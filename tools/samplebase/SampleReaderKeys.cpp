// The sample's messages and settings, and the check of the names the reader asks for.
#include "tools/samplebase/SampleReaderKeys.h"

#include <cstdlib>

#include "base/procedural/Assoc.h"
#include "search/engine/records/KyAccessor.h"
#include "search/engine/descriptor/MkDoom.h"
#include "search/writers/FileImage.h"
#include "tools/samplebase/SampleBase.h"

const char kSampleServiceSite[] = "http://127.0.0.1:8642";

std::vector<std::pair<std::string, std::string>> SampleReaderTexts() {
    const std::string site = kSampleServiceSite;
    return {
        // The full-text search's questions.
        {"DLG_NO_RES", "Aucun document ne r\xE9pond \xE0 votre recherche. Voulez-vous la poursuivre sur le service en ligne ?"},
        {"DLG_STOPWORD", "Votre question ne contient que des mots trop courants pour \xEAtre cherch\xE9s : pr\xE9" "cisez-la."},
        // Sizes of the history popup, the exported list and the recent requests; the font steps.
        {"HISTO_NBLINES", "12"},
        {"MAX_EXPORT_LIST", "100"},
        {"MAXSIREQ", "20"},
        {"FONT_DELTA_SIZE", "2"},
        {"CHRONO_STEP", "200"},
        {"FONT_ADJUST_WIN_800", "-1"},
        {"FONT_ADJUST_WIN_1024", "0"},
        {"FONT_ADJUST_WIN_1152", "0"},
        {"FONT_ADJUST_WIN_1280", "1"},
        {"FONT_ADJUST_WIN_MORE", "1"},
        // The online service: the local stand-in of tools/sample/service.py.
        {"SVSITE", site},
        {"SERVERNAME", site},
        {"SEARCHSCRIPT", "/sv/recherche"},
        {"CONTROLSCRIPT", "/sv/controle"},
        {"ACCOUNTSCRIPT", "/sv/account"},
        // The service's pages are "<SVSITE><REDIRECT>?id=<page>"; its home is SVSITE REDIRECT HOME_COMPL.
        {"REDIRECT", "/redirect.php"},
        {"HOME_COMPL", "?id=hom_compl"},
        {"ACCUEIL_WEB_HTML", site + "/accueil.html"},
        {"ACCUEIL_WEB_HTML2", site + "/accueil2.html"},
        {"ACCUEIL_WEB_LOCAL", "web\\accueil.html"},
        {"NET_AGENT", "Savantorium/1.0"},
        {"NET_DEFAULT_LOGIN", "invite"},
        {"NET_DEFAULT_PASSWORD", "invite"},
        {"LINKNET_LIBEL", "Sites Internet sur ce sujet"},
        // The service wizard.
        {"NET_DLG_TITLE", "Service en ligne"},
        {"PARENTAL_CAPTION", "Contr\xF4le parental"},
        {"CHANGEPASSWD_CAPTION", "Changer de mot de passe"},
        {"ASK_PARENTAL_SETUP", "Vous \xEAtes connect\xE9. Voulez-vous r\xE9gler maintenant le contr\xF4le parental ?"},
        {"DEFAULT_PARENTAL", "Le contr\xF4le parental garde son niveau par d\xE9" "faut. Vous pourrez le changer dans les pr\xE9" "f\xE9rences."},
        {"BAD_NEW_PASSWORD", "Le nouveau mot de passe est vide ou ne correspond pas \xE0 sa confirmation."},
        {"BAD_OLD_PASSWORD", "Le mot de passe actuel est inexact."},
        {"DLG_NET_MSG4", "Tapez l'identifiant et le mot de passe de votre abonnement au service en ligne."},
        {"DLG_NET_MSG4BIS", "Tapez l'identifiant et le mot de passe du responsable du contr\xF4le parental."},
        {"DLG_NET_MSG5", "Sans abonnement, cliquez sur Abonnement pour en demander un."},
        {"DLG_NET_MSG6", "Mot de passe oubli\xE9 ? Le service vous l'envoie par courrier \xE9lectronique."},
        {"DLG_NET_MSG7", "Choisissez le niveau de filtrage des pages du service."},
        // The connection states that forbid the service.
        {"MSG_NO_NETACESS_REQUIRED", "L'acc\xE8s \xE0 Internet n'est pas demand\xE9 dans vos pr\xE9" "f\xE9rences."},
        {"MSG_NO_ACTIVE_CONNECTION", "Aucune connexion \xE0 Internet n'est active."},
        {"MSG_NO_NETACESS", "Votre compte ne donne pas acc\xE8s au service en ligne."},
        // The users and work names of a network installation.
        {"MSG_RESEAU_USERNAME", "Tapez votre nom d'utilisateur."},
        {"MSG_RESEAU_USERNAME_UNKNOWN", "Ce nom d'utilisateur est inconnu."},
        {"MSG_RESEAU_USERNAME_EXISTYET", "Ce nom d'utilisateur existe d\xE9j\xE0."},
        {"MSG_RESEAU_USERNAME_ERRCREATE", "Le dossier de cet utilisateur ne peut pas \xEAtre cr\xE9\xE9."},
        {"MSG_RESEAU_WORKNAME_SAVE", "Donnez un nom \xE0 votre travail et un mot de passe pour l'enregistrer."},
        {"MSG_RESEAU_WORKNAME_RESTORE", "Choisissez le travail \xE0 ouvrir."},
        {"MSG_RESEAU_WORKNAME_PASSEWORD", " : tapez le mot de passe de ce travail."},
        {"MSG_RESEAU_WORKNAME_BAD_PASSEWORD", "Ce mot de passe est inexact."},
        {"MSG_RESEAU_WORKNAME_CONFIRMPASSE", "Tapez le mot de passe une seconde fois pour le confirmer."},
        {"MSG_RESEAU_WORKNAME_DIFFERENTPASSE", "Les deux mots de passe sont diff\xE9rents."},
        {"MSG_RESEAU_WORKNAME_REPLACE", "Un travail porte d\xE9j\xE0 ce nom. Voulez-vous le remplacer ?"},
        {"MSG_RESEAU_WORKNAME_ERRCREATE", "Le dossier de ce travail ne peut pas \xEAtre cr\xE9\xE9."},
        {"MSG_RESEAU_WORKNAME_ERRSAVE", "ce fichier n'a pas pu \xEAtre copi\xE9."},
        {"MSG_RESEAU_WORKNAME_SAVEOK", "Votre travail est enregistr\xE9."},
        {"MSG_RESEAU_WORKNAME_RESTOREOK", "Votre travail est ouvert."},
        {"MSG_RESEAU_WORKNAME_RESTORE_ASK", "Voulez-vous d'abord enregistrer le travail en cours ?"},
        {"MSG_RESEAU_WORKNAME_UNKNOWN", "Aucun travail ne porte ce nom."},
        // The room titles the history rows and the top dock show.
        {"WSALLE_BIBLIO_TITLE", "Biblioth\xE8que"},
        {"WSALLE_INIT_TITLE", "Initiation"},
        {"WSALLE_HISTGEO_TITLE", "Histoire et g\xE9ographie"},
        {"WSALLE_MEDIATHEQUE_TITLE", "M\xE9" "diath\xE8que"},
        {"WSALLE_SPORT_TITLE", "Salle des sports"},
        {"WSALLE_AUTEURS_TITLE", "Salle des auteurs"},
    };
}

namespace {

std::string PathText(const KY_OpenSpec& spec) {
    return spec.path.text ? spec.path.text : "";
}

bool HasEntry(const KY_Assoc* table, const std::string& name) {
    return table && KY_FindAssoc(table, name.c_str());
}

bool HasTable(const KyMount* mount, const std::string& item) {
    size_t colon = item.find(':');
    if (colon == std::string::npos)
        return false;
    KY_AssocEntry* found = KY_FindAssoc(mount->bases, item.substr(0, colon).c_str());
    const KyMountedBase* base = found ? static_cast<const KyMountedBase*>(found->value) : nullptr;
    return base && HasEntry(base->data, item.substr(colon + 1));
}

bool HasPrefix(const KyMount* mount, const std::string& prefix) {
    for (int32_t i = 0; mount->userStrings && i < mount->userStrings->count; ++i) {
        const char* key = mount->userStrings->entries[i].key;
        if (key && std::string(key).compare(0, prefix.size(), prefix) == 0)
            return true;
    }
    return false;
}

bool Present(const KyMount* mount, const std::string& kind, const std::string& name) {
    const char* text = nullptr;
    if (kind == "str")
        return KyUserString(mount, name.c_str(), &text) == 0 && text;
    if (kind == "prefix")
        return HasPrefix(mount, name);
    if (kind == "table")
        return HasTable(mount, name);
    if (kind == "lex")
        return HasEntry(mount->lexs, name);
    if (kind == "file") {
        const KY_OpenSpec* spec = nullptr;
        return KyFileOfKey(mount, name.c_str(), &spec) == 0 && spec && !PathText(*spec).empty();
    }
    if (kind == "filter")
        return HasEntry(mount->filters, name);
    if (kind == "path")
        return HasEntry(mount->paths, name);
    return false;
}

}  // namespace

void CheckReaderKeys(const KyMount* mount, const std::string& keys, SampleCheckReport* report) {
    std::string text;
    if (!LoadFile(keys, &text)) {
        report->errors.push_back(keys + ": cannot read the list of names");
        return;
    }
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? text.size() : end + 1;
        size_t tab = line.find('\t'), tab2 = tab == std::string::npos ? tab : line.find('\t', tab + 1);
        if (tab == std::string::npos) {
            if (!line.empty())
                report->errors.push_back(keys + ": line without a name: " + line);
            continue;
        }
        std::string kind = line.substr(0, tab);
        std::string name = line.substr(tab + 1, tab2 == std::string::npos ? std::string::npos : tab2 - tab - 1);
        std::string where = tab2 == std::string::npos ? "" : line.substr(tab2 + 1);
        ++report->names;
        if (!Present(mount, kind, name))
            report->errors.push_back("the sample lacks the " + kind + " \"" + name + "\" that " + where + " reads");
    }
}
