#pragma once
// The factory tables as the pager maker publishes them, kept apart from the program's own
// copy so that a slip in either shows as a difference. ".." marks a byte whose default
// is ours to choose (the seven-letter word, the password digits).

namespace zr730::testing {

struct HexRow {
    int address;
    const char *bytes; // two hexadecimal digits a byte, blank-separated
};

inline constexpr HexRow kFactoryBlockA[] = {
    {0x000, "55 AA AA 55 00 01 42 04 00 00 30 01 00 08 19 0A"},
    {0x010, "0A 0A 0A 0A 0A 0A 00 00 00 00 00 00 00 00 50 50"},
    {0x020, "50 50 40 00 00 00 00 00 00 00 00 00 5A 96 F2 22"},
    {0x030, "22 22 22 22 22 22 26 00 00 65 40 4E 40 04 50 00"},
    {0x040, "01 00 03 88 02 00 00 00 03 80 FF FF 04 00 00 00"},
    {0x050, "05 00 00 00 06 00 00 00 0F 00 00 00 10 00 00 CC"},
    {0x060, "11 80 02 06 12 80 02 06 13 80 02 02 14 80 02 02"},
    {0x070, "78 00 00 03 15 00 00 00 16 00 C2 01 17 00 43 00"},
    {0x080, "18 00 42 00 19 00 43 00 1A 00 00 00 1B 00 00 00"},
    {0x090, "20 00 01 00 02 01 00 10 22 00 01 00 23 00 01 00"},
    {0x0A0, "24 00 01 00 25 00 01 00 26 00 01 00 27 00 01 00"},
    {0x0B0, "80 13 56 87 81 13 56 80 82 00 80 01 83 00 80 01"},
    {0x0C0, "10 11 12 13 14 15 16 17 86 00 80 01 87 00 80 01"},
    {0x0D0, "08 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
    {0x0E0, "13 0D 0F 11 13 15 17 19 1B 04 A3 20 FF FF 22 22"},
    {0x0F0, "00 2A 92 ED 00 2A 92 ED FF .. .. .. .. .. .. .."},
};

inline constexpr HexRow kFactoryBlockC[] = {
    {0x344, "00 00 00 00 00 00 00 00 00 00 00 00 18 18 00 00"},
    {0x354, "00 00 00 00 FF FF FF FF 00 00 00 00 92 D6 87 12"},
    {0x364, "D6 80 12 D6 81 12 D6 82 12 D6 83 12 D6 84 02 11"},
    {0x374, "40 3C 18 08 3A 0C 00 00 .. .. .. .. 77 77 81 8B"},
    {0x384, "FF FF 03 FF FF FF FF FF 0F 0F 0F 00 01 05 03 00"},
    {0x394, "00 00 00 03 00 10 01 00 52 40 FF FF 00 00 00 00"},
    {0x3A4, "00 00 00 00 05 05 05 05 06 07 00 FF"},
};

// One row a prompt record: its address, then English, Spanish, French, German and Russian,
// each as layout byte, length byte and quoted text (UTF-8 here; the pager set is Latin-1).
inline constexpr const char *kFactoryPrompts[] = {
    "0x100 | 05 06 \"VORTEK\" | 05 06 \"VORTEK\" | 05 06 \"VORTEK\" | 05 08 \"VORTEK\" | 05 06 \"VORTEK\"",
    "0x114 | 04 08 \"NO PAGES\" | 05 0B \"SIN MESAJES\" | 03 0E \"PAS DE MESSAGE\" | 03 0F \"Keine Nachricht\" | 03 12 \"   HET COOap-i\"",
    "0x128 | 44 0C \"UP OR ESCAPE\" | 42 11 \"ARRIBA PARA SALIR\" | 42 10 \"MONTER OU SORTIRR\" | 45 0B \"Menü/zurück\" | 43 12 \"  MEHv BKj/BsKj\"",
    "0x13C | 44 0C \"MESSAGE LOCK\" | 42 10 \"BLOQUEAR MENSAJE\" | 44 0C \"VERROUILLAGESAJE\" | 42 11 \"Nachricht sichern\" | 43 12 \"  gAqhTA COOaq-i\"",
    "0x150 | 43 0E \"MESSAGE UNLOCK\" | 42 10 \"DESBLOQ. MENSAJE\" | 43 0E \"DEVERROUILLAGEJE\" | 42 10 \"Nachr. freigeben\" | 43 12 \"   CHwThEgAqhTs\"",
    "0x164 | 48 06 \"DELETE\" | 47 06 \"BORRAR\" | 45 0A \"EFFACEMENT\" | 42 11 \"Nachricht löschen\" | 43 12 \"     YdAjhTt\"",
    "0x178 | 45 0A \"DELETE ALL\" | 44 0C \"BORRAR TODOS\" | 44 0C \"EFFACER TOUT\" | 44 0C \"Alle löschen\" | 43 12 \"   YdAjhTt BCE\"",
    "0x18C | 44 0C \"MOVE TO MEMO\" | 44 0C \"MOVER A MEMOBRETA\" | 44 0D \"DEP > MEMOIRERETA\" | 42 11 \"Als Notiz sichern\" | 43 12 \"   COXP BkAMwTt\"",
    "0x1A0 | 45 0A \"SET SCROLL\" | 42 10 \"ROLLO DE MENSAJE\" | 43 0E \"Reg.DEFILEMENTJE\" | 45 0A \"Scrollrate\" | 43 12 \"  kPOCMOTP COOaq\"",
    "0x1B4 | 46 08 \"SET TIME\" | 44 0C \"AJUSTAR HORA\" | 46 09 \"Reg.HEUREERA\" | 45 0B \"Uhr stellen\" | 43 12 \"    YCT. BPEMw\"",
    "0x1C8 | 46 09 \"SET ALARM\" | 43 0E \"AJUSTAR ALARMA\" | 45 0A \"Reg.ALARMEARMA\" | 43 0E \"Wecker stellen\" | 43 12 \"  YCT. aYdhjtHhK\"",
    "0x1DC | 46 09 \"SET ALERT\" | 42 11 \"ALERTA SILENCIOSA\" | 45 0A \"Reg.ALERTEENCIOSA\" | 43 0F \"Alarmart wählen\" | 43 12 \"   BstOP ChHAjA\"",
    "0x1F0 | 46 09 \"PAGER OFF\" | 47 06 \"APAGAR\" | 45 0B \"ARRET PAGER\" | 46 09 \"Pager aus\" | 43 12 \"  BsKj. kEidfEP\"",
    "0x204 | 03 09 \"TONE ONLY\" | 06 09 \"SOLO TONO\" | 05 0E \"TON UNIQUEMENT\" | 00 07 \"Nur TonLY\" | 05 11 \"  TOHAjtH. BsgOB\"",
    "0x218 | 43 05 \"SLEEP\" | 44 07 \"DORMIDA\" | 44 0E \"MISE EN VEILLE\" | 43 0D \"Stiller Alarm\" | 43 12 \"  Ckwqhi PEfhM\"",
    "0x22C | 43 06 \"SILENT\" | 44 0A \"SILENCIOSA\" | 44 0A \"SILENCIEUX\" | 43 09 \"Vibration\" | 43 12 \"  kEPhOd MOjo-w\"",
    "0x240 | 43 0B \"PAGER OFF ?\" | 46 08 \"APAGAR ?\" | 44 0D \"ARRET PAGER ?\" | 45 0B \"Pager aus ?\" | 43 12 \"  BsKj. kEidfEP?\"",
    "0x254 | 44 08 \"DELETE ?\" | 46 08 \"BORRAR ?\" | 44 0C \"EFFACEMENT ?\" | 46 09 \"Löschen ?ELETE ?\" | 43 12 \"     YdAjhTt?\"",
    "0x268 | 42 0C \"DELETE ALL ?\" | 44 0C \"BORRAR TODOS ?\" | 43 0E \"EFFACER TOUT ?\" | 43 0E \"Alle löschen ?\" | 43 12 \"   YdAjhTt BCE?\"",
    "0x27C | 04 08 \"TIME SET\" | 04 0C \"AJUSTAR HORA\" | 06 09 \"Reg.HEUREORA\" | 25 0B \"Uhr stellen\" | 03 12 \"    YCT. BPEMw\"",
    "0x290 | 04 09 \"ALARM SET\" | 03 0E \"AJUSTAR ALARMA\" | 05 0A \"Reg.ALARMEARMA\" | 23 0E \"Wecker stellen\" | 03 12 \"  YCT. aldhjtHhK\"",
    "0x2A4 | 03 0A \"SCROLL SET\" | 02 10 \"ROLLO DE MENSAJE\" | 03 0E \"Reg.DEFILEMENTJE\" | 25 0A \"Scrollrate\" | 03 12 \"  kPOCMOTP COOaq\"",
    "0x2B8 | 43 0E \"AUTO SLEEP SET\" | 44 0C \"AUTO DORMIDA\" | 45 0A \"REG.VEILLEDA\" | 42 10 \"Automat. Aussch.\" | 43 12 \"  ABTO BKj/BsKj\"",
    "0x2CC | 04 0A \"START  END\" | 04 0B \"ON      OFF\" | 04 0B \"DEPART  FIN\" | 27 0D \"Start    Ende\" | 03 12 \"   HAoAjO KOHEn\"",
    "0x2E0 | 45 0C \"MESSAGE AREA\" | 44 0C \"MENSAJE AREA\" | 42 10 \"ZONE DE MESSAGES\" | 43 0E \"Private Nachr.\" | 43 12 \"   gOHA kPhEMA\"",
    "0x2F4 | 44 0E \"MAIL DROP AREA\" | 43 0E \"MAIL DROP AREA\" | 41 12 \"ZONE BOITE LETTRES\" | 43 0F \"Öffentl. Nachr.\" | 43 12 \"gOHA kPhEMA KAHAjO\"",
    "0x308 | 42 0D \"SILENT & BEEP\" | 44 0B \"SILEN.-TONO\" | 43 12 \"SILENCIEUX ET BEEP\" | 43 0F \"Vibr., dann TonP\" | 43 12 \"  HOoHOi PEfhM\"",
    "0x31C | 47 07 \"ZOOM IN\" | 47 07 \"ZOOM IN\" | 46 06 \"LOUPE+UI\" | 45 0A \"Vergrößern\" | 43 12 \"   BhaPAnhw BKj\"",
    "0x330 | 46 08 \"ZOOM OUT\" | 46 08 \"ZOOM OUT\" | 46 06 \"LOUPE-ON\" | 45 0B \"Verkleinern\" | 43 12 \"  BhaPAnhw OTKj\"",
    "0x3B0 | 46 08 \"CHIRP ON\" | 46 09 \"TIMBRE ON\" | 42 11 \"AVEC MODE DISCRET\" | 44 0D \"Kurz-Piep ein\" | 43 12 \"     hHm. BKj\"",
    "0x3C4 | 46 09 \"CHIRP OFF\" | 45 0A \"TIMBRE OFF\" | 42 11 \"SANS MODE DISCRET\" | 44 0D \"Kurz-Piep aus\" | 43 12 \"    hHm. BsKj\"",
};

} // namespace zr730::testing
