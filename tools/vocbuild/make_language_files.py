#!/usr/bin/env python3
"""Writes data/Languages/<Name>.chr for the shipped languages.

The language files are plain text and may be edited by hand; this script is how the shipped ones
were laid out, so that all of them follow one plan:

- letters packed eight to a charset (ids 0, 1, ...) in keypad order, so every letter code is
  below 0x80 and each pair of letters keeps a pair key of its own in the letter-pair table;
- charset 13 holds the space (key 10), charset 14 the punctuation (key 1 and key 115);
- keys 2-9: the telephone groups, the language's main letters first and its other letters after
  them (chararraybase = number of main letters);
- keys 101-114: a compact QWERTY (two or three letters a key, row by row 101-105, 106-110,
  111-114), each accented letter after its base letter; key 115 repeats the punctuation.

Run from the top of the repository: python3 tools/vocbuild/make_language_files.py
"""
import os
import unicodedata

# Punctuation key, most used first (multi-tap reaches the n-th character with n taps); the first
# five are its caption.
PUNCT = ".,'-?!:;"
PUNCT_ES = ".,¿?-¡!'"
LATIN_QWERTY = ["qw", "er", "ty", "ui", "op", "as", "df", "gh", "jk", "l", "zx", "cv", "bn", "m"]
PHONE_LATIN = ["abc", "def", "ghi", "jkl", "mno", "pqrs", "tuv", "wxyz"]

# Language: (locale, phone extras per key 2..9, punctuation, qwerty or None for Latin plan)
LANGUAGES = {
    "English": ("en", ["", "", "", "", "", "", "", ""], PUNCT, None),
    "German": ("de", ["ä", "", "", "", "ö", "ß", "ü", ""], PUNCT, None),
    "French": ("fr", ["àâæç", "éèêë", "îï", "", "ôœ", "", "ùûü", "ÿ"], PUNCT, None),
    "Spanish": ("es", ["á", "é", "í", "", "ñó", "", "úü", ""], PUNCT_ES, None),
    "Italian": ("it", ["à", "èé", "ìíî", "", "òó", "", "ùú", ""], PUNCT, None),
    "Portuguese": ("pt", ["áâãàç", "éê", "í", "", "óôõ", "", "úü", ""], PUNCT, None),
    "Dutch": ("nl", ["à", "éèëê", "ï", "", "öó", "", "ü", ""], PUNCT, None),
    "Polish": ("pl", ["ąć", "ę", "", "ł", "ńó", "ś", "", "źż"], PUNCT, None),
    "Swedish": ("sv", ["åä", "é", "", "", "ö", "", "ü", ""], PUNCT, None),
    "Czech": ("cs", ["áč", "ďéě", "í", "", "ňó", "řš", "ťúů", "ýž"], PUNCT, None),
}

CYRILLIC = {
    # Telephone groups (main, extra) and the compact ЙЦУКЕН keys 101-114 (main, extra).
    "Russian": ("ru",
                [("абвг", ""), ("дежз", "ё"), ("ийкл", ""), ("мноп", ""), ("рсту", ""),
                 ("фхцч", ""), ("шщъы", ""), ("ьэюя", "")],
                [("йц", ""), ("ук", ""), ("ен", "ё"), ("гшщ", ""), ("зхъ", ""),
                 ("фы", ""), ("ва", ""), ("пр", ""), ("ол", ""), ("джэ", ""),
                 ("яч", ""), ("см", ""), ("ит", ""), ("ьбю", "")]),
    "Ukrainian": ("uk",
                  [("абвг", "ґ"), ("деєжз", ""), ("иіїйкл", ""), ("мноп", ""), ("рсту", ""),
                   ("фхцч", ""), ("шщь", ""), ("юя", "")],
                  [("йц", ""), ("ук", ""), ("ен", ""), ("гшщ", "ґ"), ("зхї", ""),
                   ("фі", ""), ("ва", ""), ("пр", ""), ("ол", ""), ("джє", ""),
                   ("яч", ""), ("см", ""), ("ит", ""), ("ьбю", "")]),
}

SPECIAL_BASE = {"ß": "s", "æ": "a", "œ": "o", "ł": "l"}

ENGLISH_TEXTS = {
    0: "Active languages",
    1: "Primary",
    2: "Secondary",
    3: "Interface language",
    4: "Apply theme color",
    5: "Panel",
    6: "Skin",
    7: "Letters",
    8: "Symbols",
    9: "Languages",
    10: "Interface",
    11: "About",
    12: "Truncate found words",
    13: "Show one word",
    14: "Auto space",
    15: "The options are already open.",
    16: "Buttons",
    17: "Add",
    18: "Remove",
    19: "Redefine",
    20: "Reduce input noise",
    21: "Dictionary",
    22: "Export complete",
    23: "Could not write the file",
    24: "Import complete",
    25: "Could not open the file",
    26: "Save the changes?",
    27: "Remove the selected word?",
    28: "Remove all entries from the list?",
    29: "Remove",
    30: "Export",
    31: "Import",
    32: "Save",
    33: "Clear",
    34: "Words",
    35: "Learned words",
    36: "Word",
    37: "Count",
    38: "Show hint",
    39: "Make default IM",
    40: "Default",
    41: "Frequency",
    42: "Restore days",
    43: "Remember speed",
    44: "Adaptive vocabulary",
    45: "Days",
    46: "Speed",
    100: "new word",
}

# What each text is for, written beside it in English.chr.
TEXT_ROLES = {
    0: "Languages page: frame of the two language lists",
    1: "Languages page: heading of the primary list",
    2: "Languages page: heading of the secondary list",
    3: "Languages page: label of the interface language list",
    4: "Interface page: check box",
    5: "Interface page: label of the panel list",
    6: "spare (no page shows it yet)",
    7: "spare (no page shows it yet)",
    8: "spare (no page shows it yet)",
    9: "tab: Languages page",
    10: "tab: Interface page",
    11: "tab: About page",
    12: "Interface page: check box",
    13: "Interface page: check box",
    14: "Interface page: check box",
    15: "message: the options were opened while already open",
    16: "tab: Buttons page",
    17: "Buttons page: button",
    18: "Buttons page: button",
    19: "Buttons page: button",
    20: "Interface page: check box",
    21: "tab: Dictionary page",
    22: "Dictionary page: caption of the message after Export",
    23: "Dictionary and Frequency pages: caption of the message when a file could not be written",
    24: "Dictionary page: caption of the message after Import",
    25: "Dictionary page: caption of the message when the import file could not be opened",
    26: "question before Save",
    27: "question before removing a word",
    28: "question before Clear",
    29: "Dictionary page: button",
    30: "Dictionary page: button",
    31: "Dictionary page: button",
    32: "Dictionary and Frequency pages: button",
    33: "Dictionary and Frequency pages: button",
    34: "spare (no page shows it yet)",
    35: "spare (no page shows it yet)",
    36: "spare (no page shows it yet)",
    37: "spare (no page shows it yet)",
    38: "Interface page: check box",
    39: "Interface page: check box (start as the current input method)",
    40: "spare (no page shows it yet)",
    41: "tab: Frequency page",
    42: "Frequency page: label of the restore slider",
    43: "Frequency page: label of the speed slider",
    44: "Interface page: check box (learn committed words)",
    45: "spare (no page shows it yet)",
    46: "spare (no page shows it yet)",
    100: "candidate list: the entry for spelling a new word, while it is empty",
}


def _texts(lines):
    """Numbered texts from "n text" lines."""
    out = {}
    for line in lines.strip().split("\n"):
        n, text = line.strip().split(" ", 1)
        out[int(n)] = text
    assert set(out) == set(ENGLISH_TEXTS), sorted(set(ENGLISH_TEXTS) ^ set(out))
    return out


TRANSLATED_TEXTS = {
    "German": _texts("""
0 Aktive Sprachen
1 Erste
2 Zweite
3 Sprache der Oberfläche
4 Farbe des Designs anwenden
5 Tastenfeld
6 Skin
7 Buchstaben
8 Symbole
9 Sprachen
10 Oberfläche
11 Info
12 Gefundene Wörter kürzen
13 Nur ein Wort zeigen
14 Automatisches Leerzeichen
15 Die Optionen sind bereits geöffnet.
16 Tasten
17 Hinzufügen
18 Entfernen
19 Neu belegen
20 Eingaberauschen mindern
21 Wörterbuch
22 Export abgeschlossen
23 Datei konnte nicht geschrieben werden
24 Import abgeschlossen
25 Datei konnte nicht geöffnet werden
26 Änderungen speichern?
27 Gewähltes Wort entfernen?
28 Alle Einträge der Liste entfernen?
29 Entfernen
30 Exportieren
31 Importieren
32 Speichern
33 Leeren
34 Wörter
35 Gelernte Wörter
36 Wort
37 Anzahl
38 Hinweis zeigen
39 Als Standard-Eingabe
40 Standard
41 Häufigkeit
42 Tage bis zum Vergessen
43 Merkgeschwindigkeit
44 Lernender Wortschatz
45 Tage
46 Tempo
100 neues Wort
"""),
    "French": _texts("""
0 Langues actives
1 Principale
2 Secondaire
3 Langue de l'interface
4 Appliquer la couleur du thème
5 Clavier
6 Habillage
7 Lettres
8 Symboles
9 Langues
10 Interface
11 À propos
12 Tronquer les mots trouvés
13 Afficher un seul mot
14 Espace automatique
15 Les options sont déjà ouvertes.
16 Boutons
17 Ajouter
18 Supprimer
19 Redéfinir
20 Réduire le bruit de saisie
21 Dictionnaire
22 Exportation terminée
23 Impossible d'écrire le fichier
24 Importation terminée
25 Impossible d'ouvrir le fichier
26 Enregistrer les modifications ?
27 Supprimer le mot choisi ?
28 Supprimer toutes les entrées de la liste ?
29 Supprimer
30 Exporter
31 Importer
32 Enregistrer
33 Vider
34 Mots
35 Mots appris
36 Mot
37 Nombre
38 Afficher l'aide
39 Méthode de saisie par défaut
40 Par défaut
41 Fréquence
42 Jours avant l'oubli
43 Vitesse de mémorisation
44 Vocabulaire adaptatif
45 Jours
46 Vitesse
100 nouveau mot
"""),
    "Spanish": _texts("""
0 Idiomas activos
1 Principal
2 Secundario
3 Idioma de la interfaz
4 Aplicar el color del tema
5 Teclado
6 Apariencia
7 Letras
8 Símbolos
9 Idiomas
10 Interfaz
11 Acerca de
12 Acortar las palabras encontradas
13 Mostrar una palabra
14 Espacio automático
15 Las opciones ya están abiertas.
16 Botones
17 Añadir
18 Quitar
19 Redefinir
20 Reducir el ruido de entrada
21 Diccionario
22 Exportación terminada
23 No se pudo escribir el archivo
24 Importación terminada
25 No se pudo abrir el archivo
26 ¿Guardar los cambios?
27 ¿Quitar la palabra elegida?
28 ¿Quitar todas las entradas de la lista?
29 Quitar
30 Exportar
31 Importar
32 Guardar
33 Vaciar
34 Palabras
35 Palabras aprendidas
36 Palabra
37 Cantidad
38 Mostrar ayuda
39 Método de entrada predeterminado
40 Predeterminado
41 Frecuencia
42 Días hasta olvidar
43 Velocidad de memoria
44 Vocabulario adaptable
45 Días
46 Velocidad
100 palabra nueva
"""),
    "Italian": _texts("""
0 Lingue attive
1 Principale
2 Secondaria
3 Lingua dell'interfaccia
4 Applica il colore del tema
5 Tastiera
6 Aspetto
7 Lettere
8 Simboli
9 Lingue
10 Interfaccia
11 Informazioni
12 Accorcia le parole trovate
13 Mostra una sola parola
14 Spazio automatico
15 Le opzioni sono già aperte.
16 Pulsanti
17 Aggiungi
18 Rimuovi
19 Ridefinisci
20 Riduci il rumore di input
21 Dizionario
22 Esportazione completata
23 Impossibile scrivere il file
24 Importazione completata
25 Impossibile aprire il file
26 Salvare le modifiche?
27 Rimuovere la parola scelta?
28 Rimuovere tutte le voci dell'elenco?
29 Rimuovi
30 Esporta
31 Importa
32 Salva
33 Svuota
34 Parole
35 Parole apprese
36 Parola
37 Conteggio
38 Mostra suggerimento
39 Metodo di input predefinito
40 Predefinito
41 Frequenza
42 Giorni prima di dimenticare
43 Velocità di memoria
44 Vocabolario adattivo
45 Giorni
46 Velocità
100 nuova parola
"""),
    "Russian": _texts("""
0 Активные языки
1 Основной
2 Дополнительный
3 Язык интерфейса
4 Применять цвет темы
5 Панель
6 Оформление
7 Буквы
8 Символы
9 Языки
10 Интерфейс
11 О программе
12 Сокращать найденные слова
13 Показывать одно слово
14 Автопробел
15 Настройки уже открыты.
16 Кнопки
17 Добавить
18 Удалить
19 Переназначить
20 Подавлять дребезг
21 Словарь
22 Экспорт завершён
23 Не удалось записать файл
24 Импорт завершён
25 Не удалось открыть файл
26 Сохранить изменения?
27 Удалить выбранное слово?
28 Удалить все записи списка?
29 Удалить
30 Экспорт
31 Импорт
32 Сохранить
33 Очистить
34 Слова
35 Выученные слова
36 Слово
37 Число
38 Показывать подсказку
39 Метод ввода по умолчанию
40 По умолчанию
41 Частота
42 Дней до забывания
43 Скорость запоминания
44 Обучаемый словарь
45 Дни
46 Скорость
100 новое слово
"""),
}


def base_letter(ch):
    if ch in SPECIAL_BASE:
        return SPECIAL_BASE[ch]
    decomposed = unicodedata.normalize("NFD", ch)
    return decomposed[0]


def latin_plan(extras):
    phone = [(PHONE_LATIN[i], extras[i]) for i in range(8)]
    accented = "".join(extras)
    qwerty = []
    for group in LATIN_QWERTY:
        extra = "".join(ch for b in group for ch in accented if base_letter(ch) == b)
        qwerty.append((group, extra))
    return phone, qwerty


def quote(text):
    return '"%s"' % text


def write_language(name, locale, phone, qwerty, punct, texts):
    letters = []
    for main, extra in phone:
        for ch in main + extra:
            if ch not in letters:
                letters.append(ch)
    qwerty_letters = {ch for main, extra in qwerty for ch in main + extra}
    assert qwerty_letters == set(letters), (name, qwerty_letters ^ set(letters))
    position = {}
    charsets = []
    for i in range(0, len(letters), 8):
        chunk = letters[i:i + 8]
        cid = len(charsets)
        assert cid <= 6, name  # keep every letter code below 0x80
        for pos, ch in enumerate(chunk):
            position[ch] = cid * 100 + pos
        charsets.append((cid, chunk))
    for ch in punct:
        position[ch] = 1400 + punct.index(ch)
    position[" "] = 1300

    out = []
    out.append("/ %s: letters, keys and interface texts of the Tessaline keypad (UTF-8)." % name)
    out.append("/ Written by tools/vocbuild/make_language_files.py; the vocabulary %s.voc is built" % name)
    out.append("/ from data/wordlists/%s by the vocabulary compiler." % name)
    out.append("locale=%s" % locale)
    out.append("")
    out.append("/ Letters. A letter code is (charset id + 1) * 16 + position; keys name a letter as")
    out.append("/ charset id * 100 + position.")
    for cid, chunk in charsets:
        out.append("charset=%d,%s  / %s" % (cid, ",".join("0x%04x" % ord(c) for c in chunk), " ".join(chunk)))
    out.append("charset=13,0x0020  / space")
    out.append("charset=14,%s  / %s" % (",".join("0x%04x" % ord(c) for c in punct), " ".join(punct)))
    out.append("")

    def key(k, main, extra, comment):
        values = [str(position[c]) for c in main + extra]
        assert len(values) <= 8, (name, k)
        out.append("chararray=%d,%s; chararraybase=%d,%d  / %s" %
                   (k, ",".join(values), k, len(main), comment))

    out.append("/ Key 1: punctuation (multi-tap); key 10: the space.")
    key(1, punct[:5], punct[5:], " ".join(punct))
    out.append("chararray=10,1300  / space")
    out.append("")
    out.append("/ Telephone keys 2-9: main letters first, then the language's other letters.")
    for i, (main, extra) in enumerate(phone):
        key(i + 2, main, extra, " ".join(main) + (" | " + " ".join(extra) if extra else ""))
    out.append("")
    out.append("/ Compact QWERTY: rows 101-105, 106-110, 111-115; key 115 is punctuation.")
    for i, (main, extra) in enumerate(qwerty):
        key(101 + i, main, extra, " ".join(main) + (" | " + " ".join(extra) if extra else ""))
    key(115, punct[:5], punct[5:], " ".join(punct))

    if texts:
        out.append("")
        out.append("/ Interface texts: text<number>=\"text\" (what each number is for follows it).")
        for n in sorted(texts):
            t = texts[n]
            assert '"' not in t and len(t.encode("utf-8")) <= 127
            out.append("text%d=%s  / %s" % (n, quote(t), TEXT_ROLES[n]))
    path = os.path.join("data", "Languages", name + ".chr")
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write("\n".join(out) + "\n")


def main():
    os.makedirs(os.path.join("data", "Languages"), exist_ok=True)
    for name, (locale, extras, punct, _) in LANGUAGES.items():
        phone, qwerty = latin_plan(extras)
        texts = ENGLISH_TEXTS if name == "English" else TRANSLATED_TEXTS.get(name)
        write_language(name, locale, phone, qwerty, punct, texts)
    for name, (locale, phone, qwerty) in CYRILLIC.items():
        write_language(name, locale, phone, qwerty, PUNCT, TRANSLATED_TEXTS.get(name))


if __name__ == "__main__":
    main()
