-- Demo content for a fresh Quorvel database: load it right after schema.sql.
--   USE Quorvel; SOURCE src/db/schema.sql; SOURCE src/db/demo.sql;
-- Explicit ids keep the references between the tables easy to follow.
-- The events are dated relative to NOW(), so a freshly loaded demo always
-- shows the last four weeks.

SET NAMES utf8mb4;

-- Group 1 "Domyślna" comes with the schema. Group 9 was deleted by the operator
-- (its members went to group 1, its permissions were removed) and waits for the purge.
INSERT INTO `GROUPS` (`ID_GROUP`, `NAME`, `DEL`) VALUES
  (2, 'Administracja', 0),
  (3, 'Produkcja – zmiana A', 0),
  (4, 'Produkcja – zmiana B', 0),
  (5, 'Magazyn', 0),
  (6, 'Ochrona', 0),
  (7, 'Serwis zewnętrzny', 0),
  (8, 'Goście', 0),
  (9, 'Praktykanci 2025', 1);

-- People 48 and 49 are deleted; as the client does on deletion, their cards
-- were freed (owner 0) and their events stay until the purge.
INSERT INTO `USERS` (`ID_USER`, `ID_GROUP`, `FIRST_NAME`, `NAME`, `DEL`) VALUES
  ( 1, 2, 'Anna', 'Wiśniewska', 0),
  ( 2, 2, 'Krzysztof', 'Nowak', 0),
  ( 3, 2, 'Małgorzata', 'Kowalczyk', 0),
  ( 4, 2, 'Tomasz', 'Zieliński', 0),
  ( 5, 2, 'Elżbieta', 'Wójcik', 0),
  ( 6, 2, 'Łukasz', 'Kamiński', 0),
  ( 7, 3, 'Paweł', 'Lewandowski', 0),
  ( 8, 3, 'Grzegorz', 'Dąbrowski', 0),
  ( 9, 3, 'Agnieszka', 'Nowak', 0),
  (10, 3, 'Michał', 'Szymański', 0),
  (11, 3, 'Jarosław', 'Woźniak', 0),
  (12, 3, 'Dorota', 'Kozłowska', 0),
  (13, 3, 'Zbigniew', 'Jankowski', 0),
  (14, 3, 'Bożena', 'Mazur', 0),
  (15, 3, 'Sławomir', 'Krawczyk', 0),
  (16, 4, 'Marek', 'Piotrowski', 0),
  (17, 4, 'Joanna', 'Grabowska', 0),
  (18, 4, 'Andrzej', 'Nowak', 0),
  (19, 4, 'Katarzyna', 'Pawłowska', 0),
  (20, 4, 'Mirosław', 'Michalski', 0),
  (21, 4, 'Renata', 'Król', 0),
  (22, 4, 'Jędrzej', 'Wieczorek', 0),
  (23, 4, 'Ewa', 'Jabłońska', 0),
  (24, 4, 'Przemysław', 'Wróbel', 0),
  (25, 5, 'Stanisław', 'Zając', 0),
  (26, 5, 'Beata', 'Wróbel', 0),
  (27, 5, 'Dariusz', 'Majewski', 0),
  (28, 5, 'Urszula', 'Olszewska', 0),
  (29, 5, 'Wojciech', 'Stępień', 0),
  (30, 5, 'Halina', 'Dudek', 0),
  (31, 6, 'Ryszard', 'Górski', 0),
  (32, 6, 'Mieczysław', 'Rutkowski', 0),
  (33, 6, 'Kazimierz', 'Sikora', 0),
  (34, 6, 'Józef', 'Baran', 0),
  (35, 6, 'Tadeusz', 'Ostrowski', 0),
  (36, 7, 'Bartłomiej', 'Śliwiński', 0),
  (37, 7, 'Radosław', 'Kaczmarek', 0),
  (38, 7, 'Maciej', 'Żak', 0),
  (39, 7, 'Dominik', 'Błaszczyk', 0),
  (40, 8, 'Zofia', 'Pietrzak', 0),
  (41, 8, 'Szymon', 'Czarnecki', 0),
  (42, 8, 'Iwona', 'Sawicka', 0),
  (43, 8, 'Kamil', 'Kowalczyk', 0),
  (44, 1, 'Aleksandra', 'Chmielewska', 0),
  (45, 1, 'Wiesław', 'Borkowski', 0),
  (46, 1, 'Jolanta', 'Kołodziej', 0),
  (47, 1, 'Mateusz', 'Wójcik', 0),
  (48, 3, 'Henryk', 'Ziółkowski', 1),
  (49, 5, 'Magdalena', 'Jaworska', 1),
  (50, 2, 'Łucja', 'Kwiatkowska', 0);

-- One card per person (ids follow the people), plus four spare cards without owner.
-- Guest badges carry a number instead of a name; the service company's cards are
-- valid for a limited period only.
INSERT INTO `CARDS` (`ID_CARD`, `ID_USER_FK`, `CODE`, `TYPE`, `PRINT`, `KARENCJA_OD`, `KARENCJA_DO`) VALUES
  ( 1,  1, '00C88B2875', 1, 'Wiśniewska A.', '2024-01-01', '2030-12-31'),
  ( 2,  2, '007D836E77', 1, 'Nowak K.', '2024-01-01', '2030-12-31'),
  ( 3,  3, '00406329BC', 1, 'Kowalczyk M.', '2024-01-01', '2030-12-31'),
  ( 4,  4, '006BAD6BE2', 1, 'Zieliński T.', '2024-01-01', '2030-12-31'),
  ( 5,  5, '0000A61F93', 1, 'Wójcik E.', '2024-01-01', '2030-12-31'),
  ( 6,  6, '00FADB8908', 1, 'Kamiński Ł.', '2024-01-01', '2030-12-31'),
  ( 7,  7, '0002F0EE99', 1, 'Lewandowski P.', '2024-01-01', '2030-12-31'),
  ( 8,  8, '008E7AA6E9', 1, 'Dąbrowski G.', '2024-01-01', '2030-12-31'),
  ( 9,  9, '00C6CD75E9', 1, 'Nowak A.', '2024-01-01', '2030-12-31'),
  (10, 10, '00E4163207', 1, 'Szymański M.', '2024-01-01', '2030-12-31'),
  (11, 11, '0070EB9A0A', 1, 'Woźniak J.', '2024-01-01', '2030-12-31'),
  (12, 12, '001E7EA419', 1, 'Kozłowska D.', '2024-01-01', '2030-12-31'),
  (13, 13, '0014AA4E71', 1, 'Jankowski Z.', '2024-01-01', '2030-12-31'),
  (14, 14, '0039292D22', 1, 'Mazur B.', '2024-01-01', '2030-12-31'),
  (15, 15, '00EDE7BD0C', 1, 'Krawczyk S.', '2024-01-01', '2030-12-31'),
  (16, 16, '00D11745AD', 1, 'Piotrowski M.', '2024-01-01', '2030-12-31'),
  (17, 17, '00DC28FF90', 1, 'Grabowska J.', '2024-01-01', '2030-12-31'),
  (18, 18, '00ADEC6F11', 1, 'Nowak A.', '2024-01-01', '2030-12-31'),
  (19, 19, '00E5121482', 1, 'Pawłowska K.', '2024-01-01', '2030-12-31'),
  (20, 20, '0059001AC9', 1, 'Michalski M.', '2024-01-01', '2030-12-31'),
  (21, 21, '00D0944996', 1, 'Król R.', '2024-01-01', '2030-12-31'),
  (22, 22, '007DABE929', 1, 'Wieczorek J.', '2024-01-01', '2030-12-31'),
  (23, 23, '00A5AEC797', 1, 'Jabłońska E.', '2024-01-01', '2030-12-31'),
  (24, 24, '00F3F49249', 1, 'Wróbel P.', '2024-01-01', '2030-12-31'),
  (25, 25, '00BB049A79', 1, 'Zając S.', '2024-01-01', '2030-12-31'),
  (26, 26, '001C593AF5', 1, 'Wróbel B.', '2024-01-01', '2030-12-31'),
  (27, 27, '00CE1D62E0', 1, 'Majewski D.', '2024-01-01', '2030-12-31'),
  (28, 28, '0080A4DF5A', 1, 'Olszewska U.', '2024-01-01', '2030-12-31'),
  (29, 29, '00C4A334BF', 1, 'Stępień W.', '2024-01-01', '2030-12-31'),
  (30, 30, '00C5E818FA', 1, 'Dudek H.', '2024-01-01', '2030-12-31'),
  (31, 31, '005B4C8012', 1, 'Górski R.', '2024-01-01', '2030-12-31'),
  (32, 32, '0099DD251D', 1, 'Rutkowski M.', '2024-01-01', '2030-12-31'),
  (33, 33, '00C0433CBD', 1, 'Sikora K.', '2024-01-01', '2030-12-31'),
  (34, 34, '0065B00A2D', 1, 'Baran J.', '2024-01-01', '2030-12-31'),
  (35, 35, '008C3D5F16', 1, 'Ostrowski T.', '2024-01-01', '2030-12-31'),
  (36, 36, '00E255ACCB', 1, 'Śliwiński B.', '2025-03-01', '2027-02-28'),
  (37, 37, '0096263AE6', 1, 'Kaczmarek R.', '2025-03-01', '2027-02-28'),
  (38, 38, '00D7A7A3CC', 1, 'Żak M.', '2025-03-01', '2027-02-28'),
  (39, 39, '009293DE8F', 1, 'Błaszczyk D.', '2025-03-01', '2027-02-28'),
  (40, 40, '0049889310', 1, 'GOŚĆ 01', '2010-01-01', '2030-12-31'),
  (41, 41, '008306D03B', 1, 'GOŚĆ 02', '2010-01-01', '2030-12-31'),
  (42, 42, '00F38B2FFC', 1, 'GOŚĆ 03', '2010-01-01', '2030-12-31'),
  (43, 43, '003D6C51E3', 1, 'GOŚĆ 04', '2010-01-01', '2030-12-31'),
  (44, 44, '00731C9452', 1, 'Chmielewska A.', '2024-01-01', '2030-12-31'),
  (45, 45, '009D3C7DEC', 1, 'Borkowski W.', '2024-01-01', '2030-12-31'),
  (46, 46, '0035D14880', 1, 'Kołodziej J.', '2024-01-01', '2030-12-31'),
  (47, 47, '009F199504', 1, 'Wójcik M.', '2024-01-01', '2030-12-31'),
  (48,  0, '00AF67D461', 1, 'Ziółkowski H.', '2024-01-01', '2030-12-31'),
  (49,  0, '001919E93A', 1, 'Jaworska M.', '2024-01-01', '2030-12-31'),
  (50, 50, '005071950E', 1, 'Kwiatkowska Ł.', '2024-01-01', '2030-12-31'),
  (51,  0, '0060581CCA', 1, 'Zapasowa 1', '2024-01-01', '2030-12-31'),
  (52,  0, '0051C9BC70', 1, 'Zapasowa 2', '2024-01-01', '2030-12-31'),
  (53,  0, '00FFB88309', 1, 'Zapasowa 3', '2024-01-01', '2030-12-31'),
  (54,  0, '001A466884', 1, 'Zapasowa 4', '2024-01-01', '2030-12-31');

-- Weekly schedule templates: D1 Monday ... D7 Sunday, "start:end" on quarter hours,
-- 23:59 for the end of the day, 00:00:00:00 for a day without access.
INSERT INTO `PERMISSIONS` (`ID_PERMISSIONS`, `NAME`, `D1`, `D2`, `D3`, `D4`, `D5`, `D6`, `D7`) VALUES
  (1, 'Biuro 8-16',           '08:00:16:00', '08:00:16:00', '08:00:16:00', '08:00:16:00', '08:00:16:00', '00:00:00:00', '00:00:00:00'),
  (2, 'Całą dobę',            '00:00:23:59', '00:00:23:59', '00:00:23:59', '00:00:23:59', '00:00:23:59', '00:00:23:59', '00:00:23:59'),
  (3, 'Zmiana poranna',       '06:00:14:00', '06:00:14:00', '06:00:14:00', '06:00:14:00', '06:00:14:00', '06:00:14:00', '00:00:00:00'),
  (4, 'Zmiana popołudniowa',  '14:00:22:00', '14:00:22:00', '14:00:22:00', '14:00:22:00', '14:00:22:00', '14:00:22:00', '00:00:00:00'),
  (5, 'Magazyn 5:45-18',      '05:45:18:00', '05:45:18:00', '05:45:18:00', '05:45:18:00', '05:45:18:00', '07:00:13:00', '00:00:00:00'),
  (6, 'Serwis – dni robocze', '07:30:15:30', '07:30:15:30', '07:30:15:30', '07:30:15:30', '07:30:15:30', '00:00:00:00', '00:00:00:00'),
  (7, 'Goście 9-15',          '09:00:15:00', '09:00:15:00', '09:00:15:00', '09:00:15:00', '09:00:15:00', '00:00:00:00', '00:00:00:00');

INSERT INTO `LOCALIZATION` (`ID`, `NAME`, `ADRES`, `TIME_ZONE`, `DEL`) VALUES
  (1, 'Siedziba – Poznań', 'ul. Świętego Marcina 148\n61-807 Poznań\nwejście od podwórza', 13, 0),
  (2, 'Centrum logistyczne Gądki', 'ul. Magazynowa 7\n62-023 Gądki', 13, 0);

-- The addresses are documentation ranges: the demo never reaches a real controller.
INSERT INTO `DEVICE` (`ID_DEVICE`, `FACTORY`, `NAME`, `IP`, `MASK`, `GETWAY`, `RELAY`,
                      `WIEGAND_A`, `WIEGAND_B`, `SERWER`, `SERWER_PORT`, `SET_CONFIG`, `ID_LOCALIZATION`,
                      `NAME_A`, `NAME_B`, `TYP_A`, `TYP_B`, `SAVE_A`, `SAVE_B`, `DEL`) VALUES
  (1, '201903150001', 'Portiernia',        '192.0.2.21',    '255.255.255.0', '192.0.2.1',    5, '34', '34', '192.0.2.5', 36156, 0, 1, 'Wejście główne',      'Wyjście główne',      1, 2, 1, 1, 0),
  (2, '201903150002', 'Biuro – I piętro',  '192.0.2.22',    '255.255.255.0', '192.0.2.1',    5, '34', '34', '192.0.2.5', 36156, 0, 1, 'Wejście do biura',    'Wyjście z biura',     1, 2, 1, 1, 0),
  (3, '201905020117', 'Hala produkcyjna',  '192.0.2.23',    '255.255.255.0', '192.0.2.1',    5, '34', '34', '192.0.2.5', 36156, 0, 1, 'Wejście na halę',     'Wyjście z hali',      1, 2, 1, 1, 0),
  (4, '202001140045', 'Serwerownia',       '192.0.2.24',    '255.255.255.0', '192.0.2.1',    3, '34', '34', '192.0.2.5', 36156, 0, 1, 'Wejście serwerownia', 'Wyjście serwerownia', 1, 2, 1, 1, 0),
  (5, '202106300210', 'Brama magazynowa',  '198.51.100.21', '255.255.255.0', '198.51.100.1', 5, '34', '34', '192.0.2.5', 36156, 0, 2, 'Wjazd na plac',       'Wyjazd z placu',      1, 2, 1, 1, 0),
  (6, '202106300211', 'Rampa załadunkowa', '198.51.100.22', '255.255.255.0', '198.51.100.1', 5, '26', '26', '192.0.2.5', 36156, 0, 2, 'Wejście rampa',       'Wyjście rampa',       1, 2, 1, 1, 0);

-- Which group may pass which head (INPUT = head A, OUTPUT = head B) under which template.
-- Group 1 never gets permissions.
INSERT INTO `PERMISSIONS_has_GROUPS` (`NMID`, `ID_PERMISSIONS_FK`, `ID_GROUP_FK`, `ID_DEVICE_FK`, `INPUT`, `OUTPUT`) VALUES
  ( 1, 1, 2, 1, 1, 1),
  ( 2, 1, 2, 2, 1, 1),
  ( 3, 1, 2, 4, 1, 1),
  ( 4, 3, 3, 1, 1, 1),
  ( 5, 3, 3, 3, 1, 1),
  ( 6, 4, 4, 1, 1, 1),
  ( 7, 4, 4, 3, 1, 1),
  ( 8, 5, 5, 5, 1, 1),
  ( 9, 5, 5, 6, 1, 1),
  (10, 2, 6, 1, 1, 1),
  (11, 2, 6, 2, 1, 1),
  (12, 2, 6, 3, 1, 1),
  (13, 2, 6, 4, 1, 1),
  (14, 2, 6, 5, 1, 1),
  (15, 2, 6, 6, 1, 1),
  (16, 6, 7, 1, 1, 1),
  (17, 6, 7, 4, 1, 1),
  (18, 6, 7, 5, 1, 0),
  (19, 7, 8, 1, 1, 1),
  (20, 7, 8, 2, 1, 0);

-- About four weeks of passages, written in time order so that the event number grows
-- with the time, as the event writer does. Candidate n, every 33 minutes around the
-- clock, names person 1 + 13n mod 50 (everyone in turn, deleted people too) and the
-- (n mod k)-th of the k permission rows of that person's group; it becomes an event
-- only when it falls inside that permission's schedule for the weekday, so people of
-- group 1 (no permissions) have none, and nobody passes outside their hours.
-- The two deleted people left two weeks ago: only their older events remain.
-- Types: mostly entries (head A) and exits (head B), now and then a button opening or
-- a forced entry; a head that the permission does not cover is never used.
INSERT INTO `EVENTS` (`ID_USER`, `ID_GROUP`, `ID_DEVICE`, `TYPE`, `TIME`, `SERIAL`, `CANAL`, `HEAD`)
SELECT c.ID_USER, c.ID_GROUP, d.ID_DEVICE, c.TYPE, c.TIME,
       d.FACTORY, '1', IF(c.TYPE IN (1, 4), d.NAME_A, d.NAME_B)
FROM (
  SELECT s.seq, u.ID_USER, u.ID_GROUP, u.DEL, p.ID_DEVICE_FK,
         NOW() - INTERVAL ((1201 - s.seq) * 33 + (s.seq * 7) MOD 20) MINUTE AS TIME,
         CASE
           WHEN p.OUTPUT = 0 THEN 1
           WHEN p.INPUT = 0 THEN 2
           WHEN s.seq MOD 29 = 0 THEN 4
           WHEN s.seq MOD 11 = 0 THEN 3
           WHEN (s.seq DIV 2) MOD 2 = 0 THEN 1
           ELSE 2
         END AS TYPE,
         t.D1, t.D2, t.D3, t.D4, t.D5, t.D6, t.D7
  FROM seq_1_to_1200 s
  JOIN `USERS` u ON u.ID_USER = 1 + (s.seq * 13) MOD 50
  JOIN (SELECT ID_PERMISSIONS_FK, ID_GROUP_FK, ID_DEVICE_FK, INPUT, OUTPUT,
               ROW_NUMBER() OVER (PARTITION BY ID_GROUP_FK ORDER BY NMID) - 1 AS k,
               COUNT(*) OVER (PARTITION BY ID_GROUP_FK) AS rows_of_group
        FROM `PERMISSIONS_has_GROUPS`) p
    ON p.ID_GROUP_FK = u.ID_GROUP AND p.k = s.seq MOD p.rows_of_group
  JOIN `PERMISSIONS` t ON t.ID_PERMISSIONS = p.ID_PERMISSIONS_FK
) c
JOIN `DEVICE` d ON d.ID_DEVICE = c.ID_DEVICE_FK
WHERE TIME_FORMAT(c.TIME, '%H:%i')
      >= LEFT(ELT(WEEKDAY(c.TIME) + 1, c.D1, c.D2, c.D3, c.D4, c.D5, c.D6, c.D7), 5)
  AND TIME_FORMAT(c.TIME, '%H:%i')
      < RIGHT(ELT(WEEKDAY(c.TIME) + 1, c.D1, c.D2, c.D3, c.D4, c.D5, c.D6, c.D7), 5)
  AND (c.DEL = 0 OR c.TIME < NOW() - INTERVAL 14 DAY)
ORDER BY c.seq;

-- A few weeks of the operators' changes, as the client records them: the deletion of
-- people 48 and 49 (their cards freed first), of group 9, a grant and a new card.
INSERT INTO `HISTORY` (`TIME`, `LOGIN`, `OS_USER`, `HOST`, `ACTION`, `TABLE_NAME`, `ROW_KEY`, `LABEL`,
                       `BEFORE_VALUES`, `AFTER_VALUES`) VALUES
  (NOW() - INTERVAL 20 DAY + INTERVAL 9 HOUR, 'vqx', 'kadry', 'KADRY-PC', 'Dodaj kartę', 'CARDS', 1,
   '00C88B2875 Anna Wiśniewska', NULL,
   '{"CODE":"00C88B2875","ID_CARD":"1","ID_USER_FK":"1","KARENCJA_DO":"2030-12-31","KARENCJA_OD":"2024-01-01","PRINT":"Wiśniewska A.","TYPE":"1"}'),
  (NOW() - INTERVAL 16 DAY + INTERVAL 11 HOUR, 'vqx', 'ochrona', 'PORTIERNIA', 'Dodaj uprawnienie',
   'PERMISSIONS_has_GROUPS', 1, 'Administracja / Portiernia / Biuro 8-16', NULL,
   '{"ID_DEVICE_FK":"1","ID_GROUP_FK":"2","ID_PERMISSIONS_FK":"1","INPUT":"1","NMID":"1","OUTPUT":"1"}'),
  (NOW() - INTERVAL 10 DAY + INTERVAL 14 HOUR, 'vqx', 'kadry', 'KADRY-PC', 'Usuń użytkownika', 'CARDS', 48,
   '00AF67D461', '{"ID_USER_FK":"48"}', '{"ID_USER_FK":"0"}'),
  (NOW() - INTERVAL 10 DAY + INTERVAL 14 HOUR, 'vqx', 'kadry', 'KADRY-PC', 'Usuń użytkownika', 'USERS', 48,
   'Henryk Ziółkowski', '{"DEL":"0"}', '{"DEL":"1"}'),
  (NOW() - INTERVAL 6 DAY + INTERVAL 10 HOUR, 'vqx', 'kadry', 'KADRY-PC', 'Usuń użytkownika', 'CARDS', 49,
   '001919E93A', '{"ID_USER_FK":"49"}', '{"ID_USER_FK":"0"}'),
  (NOW() - INTERVAL 6 DAY + INTERVAL 10 HOUR, 'vqx', 'kadry', 'KADRY-PC', 'Usuń użytkownika', 'USERS', 49,
   'Magdalena Jaworska', '{"DEL":"0"}', '{"DEL":"1"}'),
  (NOW() - INTERVAL 3 DAY + INTERVAL 12 HOUR, 'vqx', 'admin', 'SERWEROWNIA', 'Usuń grupę', 'GROUPS', 9,
   'Praktykanci 2025', '{"DEL":"0"}', '{"DEL":"1"}');

-- The client has made no changes yet; the event writer has recorded the events above.
UPDATE `STATUS` SET `USERS` = 0, `GROUPS` = 0, `CARDS` = 0, `PERMISSIONS` = 0,
  `PERMISSIONS_has_GROUPS` = 0, `DEVICE` = 0, `LOCALIZATION` = 0,
  `EVENTS` = (SELECT COUNT(*) FROM `EVENTS`);
